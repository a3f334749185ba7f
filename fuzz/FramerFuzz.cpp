// Reply framing in every protocol mode. The input is a run of receive events, each one control
// byte and its bytes: the control byte's low nibble picks the mode (and now and then a sender's
// reset), its high nibble the event's length; an event of length 15 reads nothing, as a
// line-state change does.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "protocol/Framer.h"

namespace {

constexpr orva::ProtocolMode kModes[] = {
    orva::ProtocolMode::Idle,         orva::ProtocolMode::LoaderReady,
    orva::ProtocolMode::LoaderData,   orva::ProtocolMode::LoaderLastData,
    orva::ProtocolMode::LoaderEnd,    orva::ProtocolMode::LoaderConfirm,
    orva::ProtocolMode::Restore,      orva::ProtocolMode::Monitor,
    orva::ProtocolMode::AckChain,     orva::ProtocolMode::MonitorReverse,
    orva::ProtocolMode::UpgradeEntry,
};
constexpr std::size_t kModeCount = sizeof kModes / sizeof kModes[0];
constexpr std::size_t kNothingRead = 15;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orva::Framer framer;
    std::size_t at = 0;
    while (at < size) {
        const std::uint8_t control = data[at++];
        const std::size_t pick = control & 0x0F;
        if (pick >= kModeCount) {
            // The senders' three ways of starting an exchange.
            switch (pick % 3) {
                case 0:
                    framer.reset();
                    break;
                case 1:
                    framer.emptyText();
                    break;
                default:
                    framer.restartCount();
                    break;
            }
            continue;
        }
        const orva::ProtocolMode mode = kModes[pick];
        const std::size_t length = control >> 4;
        if (length == kNothingRead) {
            (void)framer.feed(mode, std::nullopt);
            continue;
        }
        const std::size_t taken = length < size - at ? length : size - at;
        (void)framer.feed(mode, std::span<const std::uint8_t>(data + at, taken));
        at += taken;
        // The buffer is bounded however chatty the line.
        if (framer.text().size() > orva::Framer::kTextCapacity || framer.count() < 0) {
            __builtin_trap();
        }
    }
    return 0;
}
