#include "firmware/UpgradePacket.h"

#include "protocol/Frames.h"

namespace orva {

std::string UpgradePacket::header(unsigned char type, std::uint32_t block) {
    std::string packet(frames::kPacketSize, '\0');
    packet[0] = static_cast<char>(type);
    put(packet, frames::kPacketBlockOffset, block);
    return packet;
}

void UpgradePacket::put(std::string& packet, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        packet[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::string UpgradePacket::start(std::uint32_t block) {
    return header(frames::kPacketStart, block);
}

std::string UpgradePacket::data(std::uint32_t block, const FirmwareImage& image, std::size_t offset,
                                std::uint32_t& checksum) {
    std::string packet = header(frames::kPacketData, block);
    for (std::size_t i = 0; i < frames::kPacketDataBytes; ++i) {
        const std::uint8_t byte = image.byteAt(offset + i);
        packet[frames::kPacketDataOffset + i] = static_cast<char>(byte);
        checksum += byte;
    }
    return packet;
}

std::string UpgradePacket::end(std::uint32_t block, std::uint32_t checksum) {
    std::string packet = header(frames::kPacketEnd, block);
    put(packet, frames::kPacketChecksumOffset, checksum);
    return packet;
}

std::string UpgradePacket::confirm(std::uint32_t block) {
    return header(frames::kPacketConfirm, block);
}

}  // namespace orva
