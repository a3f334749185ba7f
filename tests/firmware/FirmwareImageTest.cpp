#include <gtest/gtest.h>

#include <array>
#include <string>

#include "firmware/FirmwareImage.h"

namespace orva {
namespace {

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
