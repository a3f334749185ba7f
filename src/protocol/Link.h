#pragma once

#include <array>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "model/LanguageFlag.h"
#include "model/WindowModel.h"
#include "platform/IClock.h"
#include "protocol/Frame.h"
#include "protocol/Framer.h"
#include "protocol/PortDiagnosis.h"
#include "protocol/ProtocolMode.h"
#include "serial/CMSComm.h"
#include "serial/ConfigFile.h"

namespace orva {

// What a mode change does to the reply collected so far.
enum class Reply {
    Kept,       // text and count stay
    Emptied,    // text emptied, count back to 0
    Recounted,  // count back to 0, text kept
};

// Receive settings that some exchanges set again before they start.
enum class LineSetting { BinaryInput, EveryByteRaisesEvent, WholeInput, NoHandshake };

// Words about the line shown beside the port list, before the device, each kept until replaced.
enum class Notice { Readback, Backup };

// The one owner of the serial line: the port, the protocol mode, the reply buffer and received
// count (in its framer), input discards, the busy waits and the two link restarts. Exchanges
// register for the modes they run in and get typed frames; senders ask for a named mode change.
class Link {
  public:
    static constexpr int kPortCount = 20;
    static constexpr int kDefaultPort = 3;

    Link(CMSComm& port, IClock& clock, ConfigFile& config, WindowModel& model,
         const LanguageFlag& language);

    // Registers `handler` for frames of type F completed in `mode`. Handlers of one mode are
    // offered a frame in registration order; one returning false passes it to the next.
    template <class F, class Handler>
    void on(ProtocolMode mode, Handler handler) {
        m_handlers[index(mode)].push_back([h = std::move(handler)](const Frame& frame) mutable {
            const F* typed = std::get_if<F>(&frame);
            if (typed == nullptr) {
                return false;
            }
            if constexpr (std::is_same_v<std::invoke_result_t<Handler&, const F&>, bool>) {
                return h(*typed);
            } else {
                h(*typed);
                return true;
            }
        });
    }

    // The port's receive event.
    void onComm();

    void enter(ProtocolMode mode, Reply reply = Reply::Kept);
    ProtocolMode mode() const { return m_mode; }
    const std::string& replyText() const { return m_framer.text(); }
    int receivedCount() const { return m_framer.count(); }

    void sendQuery(char code);
    // Discards waiting input first, as every read-back handler does before its next query.
    void discardAndQuery(char code);
    void sendSet(char code, int value);
    void sendBytes(std::string_view bytes);
    void discardInput();
    // A busy wait on the tick counter; it holds the whole window while it runs.
    void pause(std::uint64_t ms);
    void apply(std::initializer_list<LineSetting> settings);

    // Sends the first query of the main read-back; set by whoever owns that chain.
    void setReadbackStart(std::function<void()> start) { m_readbackStart = std::move(start); }

    // The file variant (start-up, Refresh): the port stored in the configuration file. A file
    // that cannot be read or written stops nothing: the port opens all the same, and the label
    // beside the port list says the choice will not be remembered.
    void restartFromFile();
    // The combo variant (port list, custom frame Save): the port the list shows.
    void restartFromCombo();
    // Opens the stored port when it is closed, as the upgrade does before it starts.
    void openStoredPortIfClosed();

    bool portOpen() const { return m_port.GetPortOpen(); }
    bool openFailed() const { return m_openFailed; }
    // Why the last opening failed and what to do, as said beside the port list; empty after one
    // that succeeded.
    std::string openDiagnosis() const {
        return m_diagnosis.describe(m_language(), m_port.DeviceName());
    }
    // The status box and the device beside the port list, in the current language.
    void showStatus();
    // Sets one of the words shown beside the port list; empty for none.
    void setNotice(Notice which, std::string text);
    const std::string& notice(Notice which) const {
        return m_notices.at(static_cast<std::size_t>(which));
    }
    // Called now and then by the application: when commands have gone out and nothing has come
    // back for 2 s, says so beside the port list. It changes no protocol state and sends nothing.
    void checkQuiet();
    // Called every second or so by the application: when a device plugged in or pulled out
    // changes what the port number stands for, the label beside the port list follows. Nothing
    // goes to the line and the port stays as it is.
    void followDevices();

  private:
    static constexpr std::size_t kModeSlots =
        static_cast<std::size_t>(ProtocolMode::UpgradeEntry) + 1;
    static std::size_t index(ProtocolMode mode) { return static_cast<std::size_t>(mode); }

    void dispatch(const Frame& frame);
    void write(std::string_view bytes);
    // Bytes came in: the controller is there.
    void heard();
    // Nothing is awaited any more; true when the no-answer notice was showing.
    bool stopAwaiting();
    void onLineLost();
    // Sets the port number from the configuration file; COM3 when it records none or a number
    // outside the list, the list's port when it cannot be read.
    void selectStoredPort();
    // Writes the port to the configuration file, or keeps why it could not.
    void rememberPort(int port);
    void setBufferSizes();
    void configureLine();
    void showStatus(bool opened);
    void open();

    CMSComm& m_port;
    IClock& m_clock;
    ConfigFile& m_config;
    WindowModel& m_model;
    const LanguageFlag& m_language;
    Framer m_framer;
    ProtocolMode m_mode = ProtocolMode::Idle;
    std::array<std::vector<std::function<bool(const Frame&)>>, kModeSlots> m_handlers;
    std::function<void()> m_readbackStart;
    bool m_openFailed = false;
    bool m_statusOpened = false;
    std::array<std::string, 2> m_notices;
    PortDiagnosis m_diagnosis;
    std::optional<std::string> m_shownDevice;  // none before the first restart
    bool m_shownAppeared = false;              // a missing device was there at the last showing
    std::string m_configError;  // why the port choice cannot be remembered; empty when it can
    Language m_configErrorLanguage = Language::Chinese;
    std::optional<int> m_impossiblePort;  // a stored number outside the list, until a new choice
    bool m_awaiting = false;              // written to, and nothing heard since
    std::optional<std::uint64_t> m_quietSince;
    bool m_quietShown = false;
};

}  // namespace orva
