// Reply framing in every protocol mode, and its law: however the bytes are cut into reads, the
// frames are the same. The first input byte picks the mode, the second seeds the cuts; the rest
// is what the line delivers, framed once in one read and once cut into pieces.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

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
// The text modes look at the end of what has come, as the controller's one-piece answers allow;
// only the other modes owe the same frames to any cutting.
bool cutInvariant(orva::ProtocolMode mode) {
    return mode != orva::ProtocolMode::UpgradeEntry && mode != orva::ProtocolMode::LoaderReady;
}

// Seed 0: one read; any other: pieces of 1 to 80 bytes.
std::vector<std::string> frame(orva::ProtocolMode mode, const std::uint8_t* data, std::size_t size,
                               unsigned seed) {
    const bool whole = seed == 0;
    orva::Framer framer;
    std::vector<std::string> frames;
    std::size_t at = 0;
    while (at < size) {
        seed = seed * 1103515245u + 12345u;
        const std::size_t piece = whole ? size : 1 + (seed >> 16) % 80;
        const std::size_t taken = piece < size - at ? piece : size - at;
        framer.append(std::span<const std::uint8_t>(data + at, taken));
        at += taken;
        while (const auto f = framer.next(mode)) {
            frames.push_back(std::to_string(f->index()) + ":" +
                             (std::holds_alternative<orva::QueryReply>(*f)
                                  ? std::get<orva::QueryReply>(*f).value
                                  : std::string()));
        }
        // Nothing grows without end however chatty the line.
        if (framer.waiting().size() > orva::Framer::kTextCapacity) {
            __builtin_trap();
        }
    }
    return frames;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const orva::ProtocolMode mode = kModes[data[0] % kModeCount];
    const auto whole = frame(mode, data + 2, size - 2, 0);
    const auto cut = frame(mode, data + 2, size - 2, data[1] + 1u);
    if (cutInvariant(mode) && whole != cut) {
        __builtin_trap();
    }
    return 0;
}
