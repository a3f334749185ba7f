#include "firmware/FirmwareImage.h"

#include <algorithm>

namespace orva {

FirmwareImage::Fit FirmwareImage::fit(std::size_t fileLength) {
    if (fileLength <= 1) {
        return Fit::Damaged;
    }
    // N and B would follow the whole file while only the buffer's bytes exist: refuse instead.
    if (fileLength > kCapacity) {
        return Fit::TooLarge;
    }
    return Fit::Loadable;
}

std::int32_t FirmwareImage::blockCountFor(std::size_t fileLength) {
    const auto n = static_cast<std::int32_t>(fileLength) + 1;
    const auto perPacket = static_cast<std::int32_t>(kBytesPerPacket);
    return (n + perPacket - 1) / perPacket + 1;
}

void FirmwareImage::load(std::string_view content) {
    m_buffer.fill(0);
    const std::size_t length = std::min(content.size(), kCapacity);
    std::copy_n(content.begin(), length, m_buffer.begin());
    m_fileLength = content.size();
    m_transferLength = static_cast<std::int32_t>(content.size()) + 1;
    m_blockCount = blockCountFor(content.size());
}

}  // namespace orva
