// The firmware image as the upgrade loads and sends it: the size check, the buffer, and every
// packet of the transfer with its running checksum.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "firmware/FirmwareImage.h"
#include "firmware/UpgradePacket.h"

namespace {

// One image is enough for every run; it is larger than a stack frame should hold.
orva::FirmwareImage g_image;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    if (orva::FirmwareImage::fit(size) != orva::FirmwareImage::Fit::Loadable) {
        return 0;
    }
    g_image.load(content);
    const std::int32_t last = g_image.blockCount();
    std::uint32_t checksum = 0;
    std::size_t offset = 0;
    (void)orva::UpgradePacket::start(1);
    for (std::int32_t block = 2; block <= last; ++block) {
        const std::string packet =
            orva::UpgradePacket::data(static_cast<std::uint32_t>(block), g_image, offset, checksum);
        if (packet.size() != 64) {
            __builtin_trap();
        }
        offset += orva::FirmwareImage::kBytesPerPacket;
    }
    // The packets carry the whole file and the zero behind it.
    if (offset < static_cast<std::size_t>(g_image.transferLength())) {
        __builtin_trap();
    }
    (void)orva::UpgradePacket::end(static_cast<std::uint32_t>(last + 1), checksum);
    (void)orva::UpgradePacket::confirm(static_cast<std::uint32_t>(last + 2));
    return 0;
}
