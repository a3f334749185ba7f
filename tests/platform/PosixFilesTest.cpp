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

// Reads on the real file system stop at their cap; a missing file, a FIFO with nobody at its
// other end and a folder are refused at once, with the reason.
TEST(PosixFiles, ReadsStopAtTheCapAndOnlyRegularFilesOpen) {
    char pattern[] = "/tmp/orva-files-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    const std::string path = dir + "/QDMC_Data.txt", fifo = dir + "/fifo";
    PosixFiles files;
    std::string error;
    ASSERT_TRUE(files.writeAll(path, std::string(200000, 'x') + "end", error));
    EXPECT_EQ(files.readPrefix(path, 70000, error), std::string(70000, 'x'));
    EXPECT_EQ(files.readOrCreate(path, 3, error), "xxx");
    EXPECT_EQ(error, "");
    ASSERT_TRUE(files.writeAll(path, "short", error));  // the rest of the old content goes
    EXPECT_EQ(files.readPrefix(path, 1u << 20, error), "short");

    EXPECT_FALSE(files.readPrefix(dir + "/missing", 100, error));
    EXPECT_EQ(error, "\"" + dir + "/missing\": No such file or directory");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const std::string refused = "\": not a regular file", isDir = "\": Is a directory";
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {fifo, {refused, refused, refused, refused}},
        {dir, {isDir, isDir, refused, isDir}},
    };
    for (const auto& [target, reasons] : cases) {
        std::string e[4];
        EXPECT_FALSE(files.readOrCreate(target, 64, e[0]));
        EXPECT_FALSE(files.overwriteStart(target, "3", e[1]));
        EXPECT_FALSE(files.readPrefix(target, 64, e[2]));
        EXPECT_FALSE(files.writeAll(target, "3", e[3]));
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(e[k], "\"" + target + reasons[k]) << k;
        }
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace orva
