#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

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

    std::filesystem::remove_all(dir);
}

// A FIFO (nobody at its other end) or a folder where a file is expected: every call comes back
// at once, refused, with the reason.
TEST(PosixFiles, OnlyRegularFilesAreOpenedAndNothingWaits) {
    char pattern[] = "/tmp/orva-special-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    const std::string fifo = dir + "/fifo", folder = dir + "/folder";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    std::filesystem::create_directory(folder);
    PosixFiles files;
    for (const std::string& path : {fifo, folder}) {
        std::string e[4];
        EXPECT_FALSE(files.readOrCreate(path, 64, e[0]));
        EXPECT_FALSE(files.overwriteStart(path, "3", e[1]));
        EXPECT_FALSE(files.readPrefix(path, 64, e[2]));
        EXPECT_FALSE(files.writeAll(path, "3", e[3]));
        const std::string refused = "\"" + path + "\": not a regular file";
        const std::string isDir = "\"" + path + "\": Is a directory";
        const std::vector<std::string> expected =
            path == fifo ? std::vector{refused, refused, refused, refused}
                         : std::vector{isDir, isDir, refused, isDir};
        EXPECT_EQ(std::vector<std::string>(e, e + 4), expected);
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace orva
