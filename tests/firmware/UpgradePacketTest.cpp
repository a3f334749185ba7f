#include <gtest/gtest.h>

#include <array>
#include <string>

#include "firmware/FirmwareFixture.h"
#include "firmware/FirmwareImage.h"
#include "firmware/UpgradePacket.h"

namespace orva {
namespace {

using test::FirmwareFixture;

std::string zeros(std::size_t count) {
    return std::string(count, '\0');
}

TEST(UpgradePacketTest, StartAndConfirmCarryOnlyTypeAndBlock) {
    const std::string start = FirmwareFixture::bytes({
                                  0xA0,                    // type: start
                                  0x00, 0x00, 0x00,        // unused
                                  0x04, 0x03, 0x02, 0x01,  // block 0x01020304, LSB first
                              }) +
                              zeros(56);  // no payload
    EXPECT_EQ(UpgradePacket::start(0x01020304), start);

    const std::string confirm = FirmwareFixture::bytes({
                                    0xA6,                    // type: confirm
                                    0x00, 0x00, 0x00,        // unused
                                    0x05, 0x00, 0x00, 0x00,  // block 5
                                }) +
                                zeros(56);  // no payload
    EXPECT_EQ(UpgradePacket::confirm(5), confirm);
}

TEST(UpgradePacketTest, EndCarriesTheChecksumLeastSignificantByteFirst) {
    const std::string end = FirmwareFixture::bytes({
                                0xC8,                    // type: end
                                0x00, 0x00, 0x00,        // unused
                                0x04, 0x00, 0x00, 0x00,  // block 4
                                0xEF, 0xBE, 0xAD, 0xDE,  // checksum 0xDEADBEEF, LSB first
                            }) +
                            zeros(52);  // rest of the payload
    EXPECT_EQ(UpgradePacket::end(4, 0xDEADBEEF), end);
}

TEST(UpgradePacketTest, DataPacketsCarry56BytesAndPadTheLastWithZeros) {
    // 60 bytes: the first packet is full, the second holds 4 bytes and then zeros.
    std::string file = FirmwareFixture::sampleImage(60);
    file[0] = static_cast<char>(0xFF);
    FirmwareImage image;
    image.load(file);

    std::uint32_t checksum = 0xFFFFFF00;  // the sum wraps at 2^32
    const std::string first = UpgradePacket::data(2, image, 0, checksum);
    EXPECT_EQ(first, FirmwareFixture::bytes({
                         0xA5,                    // type: data
                         0x00, 0x00, 0x00,        // unused
                         0x02, 0x00, 0x00, 0x00,  // block 2
                     }) + file.substr(0, 56));    // image bytes 0..55
    EXPECT_EQ(checksum, 0xFFFFFF00u + FirmwareFixture::sum(file.substr(0, 56)));

    const std::string second = UpgradePacket::data(0x0100, image, 56, checksum);
    EXPECT_EQ(second, FirmwareFixture::bytes({
                          0xA5,                    // type: data
                          0x00, 0x00, 0x00,        // unused
                          0x00, 0x01, 0x00, 0x00,  // block 256
                      }) + file.substr(56, 4) +    // image bytes 56..59
                          zeros(52));              // past the file: zero
    EXPECT_EQ(checksum, 0xFFFFFF00u + FirmwareFixture::sum(file));
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
