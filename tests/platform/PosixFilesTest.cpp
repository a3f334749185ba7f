#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/PosixFiles.h"

namespace orva {
namespace {

TEST(PosixFiles, AFullDiskHasItsStandardText) {
    PosixFiles files;
    std::string error;
    EXPECT_FALSE(files.writeAll("/dev/full", "SC0045", error));
    EXPECT_EQ(error, "目的磁盘驱动器已满。");
}

// The restore's read of a parameter file on the real file system.
TEST(PosixFiles, ReadsAtMostTheCapAndReportsFailures) {
    char pattern[] = "/tmp/orva-prefix-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    const std::string path = dir + "/QDMC_Data.txt";
    PosixFiles files;
    std::string error;

    EXPECT_FALSE(files.readPrefix(path, 100, error));  // missing
    EXPECT_NE(error.find(path), std::string::npos);

    ASSERT_TRUE(files.writeAll(path, std::string(200000, 'x') + "end", error));
    EXPECT_EQ(files.readPrefix(path, 70000, error), std::string(70000, 'x'));
    EXPECT_EQ(error, "");
    EXPECT_EQ(files.readPrefix(path, 1u << 20, error), std::string(200000, 'x') + "end");
    ASSERT_TRUE(files.writeAll(path, "short", error));  // the rest of the old content goes
    EXPECT_EQ(files.readAll(path, error), "short");

    // A folder opens but cannot be read: nothing read, and the reason.
    EXPECT_EQ(files.readPrefix(dir, 100, error), "");
    EXPECT_NE(error, "");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace orva
