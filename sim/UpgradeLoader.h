#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orva::sim {

// The controller's firmware loader: takes 64-byte packets one at a time (start, data, end,
// confirm) and answers each with a 64-byte packet naming the block it expects next. It keeps the
// image it was sent and its own checksum of it; the confirm packet completes the upgrade.
class UpgradeLoader {
  public:
    enum class Phase {
        Off,           // the command language runs
        AwaitStart,    // loader entered, no start packet yet
        Data,          // start packet taken, data packets coming
        AwaitConfirm,  // end packet answered with the checksum
    };

    static bool isPacketType(unsigned char byte);

    // Enters the loader; the previous transfer, if any, is forgotten.
    void enter();
    void leave();
    bool active() const { return m_phase != Phase::Off; }
    Phase phase() const { return m_phase; }
    // True while no packet is partly received: the next byte must open a packet.
    bool betweenPackets() const { return m_packet.empty(); }

    // Adds one byte of a packet. Returns the answer when the byte completes a packet.
    std::optional<std::string> feed(unsigned char byte);

    // The image of the last confirmed upgrade, handed over once.
    std::optional<std::vector<std::uint8_t>> takeCompletedImage();

    std::uint32_t checksum() const { return m_checksum; }
    std::uint32_t expectedBlock() const { return m_expected; }
    const std::vector<std::uint8_t>& image() const { return m_image; }

  private:
    std::string answer(unsigned char type) const;

    Phase m_phase = Phase::Off;
    std::string m_packet;
    std::uint32_t m_expected = 1;
    std::uint32_t m_checksum = 0;
    std::vector<std::uint8_t> m_image;
    std::optional<std::vector<std::uint8_t>> m_completed;
};

}  // namespace orva::sim
