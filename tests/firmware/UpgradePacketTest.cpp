#include <gtest/gtest.h>

#include <array>
#include <string>

#include "firmware/FirmwareImage.h"
#include "firmware/UpgradePacket.h"

namespace orva {
namespace {

std::string zeros(std::size_t count) {
    return std::string(count, '\0');
}

TEST(UpgradePacketTest, PacketsByteForByte) {
    // Bytes 1 to 60, the first one 0xFF: 56 in the first packet, 4 and zeros in the second.
    std::string file;
    for (int i = 1; i <= 60; ++i) {
        file.push_back(static_cast<char>(i));
    }
    file[0] = static_cast<char>(0xFF);
    FirmwareImage image;
    image.load(file);
    std::uint32_t checksum = 0xFFFFFF00;  // the sum wraps at 2^32
    const std::string first = UpgradePacket::data(2, image, 0, checksum);
    EXPECT_EQ(checksum, 1594u);  // 255 + 2 + ... + 56 = 1850, less the 256 left to the wrap
    const std::string second = UpgradePacket::data(0x0100, image, 56, checksum);
    EXPECT_EQ(checksum, 1828u);  // + 57 + 58 + 59 + 60

    const std::pair<std::string, std::string> cases[] = {
        // Type, three zero bytes, block least significant byte first, payload.
        {UpgradePacket::start(0x01020304),
         std::string("\xA0\0\0\0\x04\x03\x02\x01", 8) + zeros(56)},
        {UpgradePacket::confirm(5), std::string("\xA6\0\0\0\x05\0\0\0", 8) + zeros(56)},
        {UpgradePacket::end(4, 0xDEADBEEF),
         std::string("\xC8\0\0\0\x04\0\0\0\xEF\xBE\xAD\xDE", 12) + zeros(52)},
        {first, std::string("\xA5\0\0\0\x02\0\0\0", 8) + file.substr(0, 56)},
        {second, std::string("\xA5\0\0\0\x00\x01\0\0", 8) + "\x39\x3A\x3B\x3C" + zeros(52)},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;
    }
}

TEST(FirmwareImageTest, BlockCountCountsTheStartPacketAndOneZeroBehindTheFile) {
    // (file length, B): N = L + 1 bytes in 56-byte pieces, plus the start packet.
    const std::pair<std::size_t, int> cases[] = {
        {2, 2}, {55, 2}, {56, 3}, {100, 3}, {111, 3}, {112, 4}, {1000, 19}, {65536, 1172},
    };
    for (const auto& [length, blocks] : cases) {
        EXPECT_EQ(FirmwareImage::blockCountFor(length), blocks) << length;
    }
    EXPECT_EQ(FirmwareImage::fit(0), FirmwareImage::Fit::Damaged);
    EXPECT_EQ(FirmwareImage::fit(1), FirmwareImage::Fit::Damaged);
    EXPECT_EQ(FirmwareImage::fit(2), FirmwareImage::Fit::Loadable);
    EXPECT_EQ(FirmwareImage::fit(65536), FirmwareImage::Fit::Loadable);
    EXPECT_EQ(FirmwareImage::fit(65537), FirmwareImage::Fit::TooLarge);
}

TEST(FirmwareImageTest, ALoadReplacesThePreviousImageAndReadsZeroBeyondIt) {
    FirmwareImage image;
    image.load(std::string(100, 'x'));
    image.load("ab");
    EXPECT_EQ(image.fileLength(), 2u);
    EXPECT_EQ(image.transferLength(), 3);
    EXPECT_EQ(image.blockCount(), 2);
    EXPECT_EQ(image.byteAt(0), 'a');
    EXPECT_EQ(image.byteAt(1), 'b');
    EXPECT_EQ(image.byteAt(2), 0);
    EXPECT_EQ(image.byteAt(99), 0);
    EXPECT_EQ(image.byteAt(FirmwareImage::kCapacity + 5), 0);
}

}  // namespace
}  // namespace orva
