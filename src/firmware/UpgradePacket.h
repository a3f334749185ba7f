#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "firmware/FirmwareImage.h"

namespace orva {

// The 64-byte packets the tool sends to the controller's loader: a type byte, three zero bytes,
// the block number least significant byte first, then 56 bytes of payload.
class UpgradePacket {
  public:
    static std::string start(std::uint32_t block);
    // Carries the image bytes from `offset` on and adds each of them to `checksum`.
    static std::string data(std::uint32_t block, const FirmwareImage& image, std::size_t offset,
                            std::uint32_t& checksum);
    // Carries the tool's checksum in its first four payload bytes.
    static std::string end(std::uint32_t block, std::uint32_t checksum);
    static std::string confirm(std::uint32_t block);

  private:
    static std::string header(unsigned char type, std::uint32_t block);
    static void put(std::string& packet, std::size_t offset, std::uint32_t value);
};

}  // namespace orva
