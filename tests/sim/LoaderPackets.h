#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "protocol/Frames.h"

namespace orva::sim::test {

// The tool's side of the upgrade transfer, built here from the packet layout so the loader can
// be driven without the tool: type byte, 3 zero bytes, block number LSB first, 56 bytes of data
// or the checksum.
inline std::string packet(unsigned char type, std::uint32_t block,
                          const std::uint8_t* data = nullptr, std::size_t size = 0) {
    std::string out(frames::kPacketSize, '\0');
    out[0] = static_cast<char>(type);
    for (std::size_t i = 0; i < 4; ++i) {
        out[frames::kPacketBlockOffset + i] = static_cast<char>((block >> (8 * i)) & 0xFF);
    }
    for (std::size_t i = 0; i < size && i < frames::kPacketDataBytes; ++i) {
        out[frames::kPacketDataOffset + i] = static_cast<char>(data[i]);
    }
    return out;
}

inline std::uint32_t le32(const std::string& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i]))
                 << (8 * i);
    }
    return value;
}

// The whole transfer of `image`: start, data packets, end with `checksum`, confirm.
struct Transfer {
    std::vector<std::string> packets;
    std::uint32_t checksum = 0;
    std::uint32_t lastDataBlock = 0;  // B
};

inline Transfer transferOf(const std::vector<std::uint8_t>& image) {
    Transfer t;
    std::uint32_t block = 1;
    t.packets.push_back(packet(frames::kPacketStart, block));
    for (std::size_t offset = 0; offset < image.size(); offset += frames::kPacketDataBytes) {
        std::uint8_t piece[frames::kPacketDataBytes] = {};
        for (std::size_t i = 0; i < frames::kPacketDataBytes && offset + i < image.size(); ++i) {
            piece[i] = image[offset + i];
            t.checksum += piece[i];
        }
        t.packets.push_back(packet(frames::kPacketData, ++block, piece, sizeof piece));
    }
    t.lastDataBlock = block;
    std::uint8_t sum[4];
    for (std::size_t i = 0; i < 4; ++i) {
        sum[i] = static_cast<std::uint8_t>((t.checksum >> (8 * i)) & 0xFF);
    }
    t.packets.push_back(packet(frames::kPacketEnd, ++block, sum, sizeof sum));
    t.packets.push_back(packet(frames::kPacketConfirm, ++block));
    return t;
}

// An odd-sized image whose bytes are not all alike.
inline std::vector<std::uint8_t> sampleImage(std::size_t size) {
    std::vector<std::uint8_t> image(size);
    for (std::size_t i = 0; i < size; ++i) {
        image[i] = static_cast<std::uint8_t>((i * 37 + 11) ^ (i >> 3));
    }
    return image;
}

}  // namespace orva::sim::test
