#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/Outgoing.h"
#include "sim/SimOptions.h"
#include "sim/UpgradeLoader.h"

namespace orva::sim {

// The Kivrel controller as the tool sees it, with no I/O: bytes go in, the messages it answers
// with come out. Commands of the ASCII language end with CR; a line that holds no command is
// dropped at its CR, so the next good command is answered whatever came before. In the upgrade
// loader, bytes collect into 64-byte packets; a command line between packets leaves the loader.
class ControllerModel {
  public:
    // Told of every frame received: a command line, or a loader packet. `understood` is false for
    // lines that hold no command the controller knows.
    using FrameListener = std::function<void(std::string_view frame, bool understood)>;

    explicit ControllerModel(ControllerOptions options = {});

    std::vector<Outgoing> receive(std::string_view bytes);

    // The next frame of the live stream for `seconds` since power-on: CHDA, MSDA and SSDA in turn.
    Outgoing monitorFrame(double seconds);
    bool streaming() const { return m_streaming; }

    // The wire value the controller holds for a parameter code.
    std::optional<int> value(char code) const;
    bool inLoader() const { return m_loader.active(); }
    const UpgradeLoader& loader() const { return m_loader; }
    // The image of a confirmed upgrade, handed over once.
    std::optional<std::vector<std::uint8_t>> takeCompletedImage();

    void setFrameListener(FrameListener listener) { m_listener = std::move(listener); }

    // The text "?W\r" is answered with: its last eight characters are the tag and the version.
    std::string kindText() const;

  private:
    struct Command;

    static std::optional<Command> parse(std::string_view line);
    void handleLine(std::vector<Outgoing>& out);
    bool handleCommand(const Command& command, std::vector<Outgoing>& out);
    bool handleSet(char code, int value, std::vector<Outgoing>& out);
    void loaderByte(char byte, std::vector<Outgoing>& out);
    void appendToLine(char byte);
    void loadDefaultSet(int set);
    void calibrate(char code, int tap);
    void notify(std::string_view frame, bool understood);
    bool silent(char code) const;

    ControllerOptions m_options;
    std::string m_line;
    std::array<std::optional<int>, 128> m_values{};
    std::array<int, 4> m_taps{};
    UpgradeLoader m_loader;
    std::string m_packet;
    bool m_streaming = false;
    int m_nextMonitor = 0;
    FrameListener m_listener;
};

}  // namespace orva::sim
