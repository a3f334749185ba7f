#include <gtest/gtest.h>

#include <utility>

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
}

}  // namespace
}  // namespace orva
