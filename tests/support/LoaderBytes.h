#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orva::test {

// The upgrade loader's 64-byte packets as the tests spell them: type byte, three zero bytes,
// block number least significant byte first, then up to 56 payload bytes and zeros.
inline std::string le32Bytes(std::uint32_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
            static_cast<char>((value >> 16) & 0xFF), static_cast<char>((value >> 24) & 0xFF)};
}

inline std::string loaderPacket(unsigned char type, std::uint32_t block,
                                std::string_view payload = {}) {
    std::string out = std::string(1, static_cast<char>(type)) + std::string(3, '\0') +
                      le32Bytes(block) + std::string(payload);
    out.resize(64, '\0');
    return out;
}

}  // namespace orva::test
