#include <gtest/gtest.h>

#include "platform/PosixFiles.h"

namespace orva {
namespace {

TEST(PosixFiles, AFullDiskHasItsStandardText) {
    PosixFiles files;
    std::string error;
    EXPECT_FALSE(files.writeAll("/dev/full", "SC0045", error));
    EXPECT_EQ(error, "目的磁盘驱动器已满。");
    EXPECT_FALSE(files.writeAll("/nonexistent/dir/QDMC_Data.txt", "x", error));
    EXPECT_EQ(error, "\"/nonexistent/dir/QDMC_Data.txt\": No such file or directory");
}

}  // namespace
}  // namespace orva
