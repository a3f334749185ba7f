#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "platform/PosixFiles.h"

namespace orva {
namespace {

// The file layer's words follow the window's language at the moment of the failure; a full
// disk has its standard text.
TEST(PosixFiles, ErrorsAreWordedInTheLanguageOfTheMoment) {
    bool english = false;
    PosixFiles files([&english] { return english; });
    const std::string missing = "/nonexistent-orva/QDMC_Data.txt";
    // Language, and the errors for a full disk, a missing folder, and a folder read as a file.
    const std::tuple<bool, std::string, std::string, std::string> cases[] = {
        {false, "目的磁盘驱动器已满。", "“" + missing + "”：没有那个文件或目录",
         "“/tmp”：是一个目录"},
        {true, "The destination disk drive is full.",
         "\"" + missing + "\": No such file or directory", "\"/tmp\": Is a directory"},
    };
    for (const auto& [inEnglish, full, absent, folder] : cases) {
        english = inEnglish;
        std::string e[3];
        EXPECT_FALSE(files.writeAll("/dev/full", "SC0045", e[0]));
        EXPECT_FALSE(files.readPrefix(missing, 10, e[1]));
        EXPECT_FALSE(files.overwriteStart("/tmp", "3", e[2]));
        EXPECT_EQ(std::tuple(e[0], e[1], e[2]), std::tuple(full, absent, folder));
    }
    // A message kept from before a language switch is worded anew; other texts stay.
    std::string error;
    EXPECT_FALSE(files.writeAll("/dev/full", "3", error));
    english = false;
    EXPECT_EQ(files.reword(error), "目的磁盘驱动器已满。");
    EXPECT_EQ(files.reword("COM3 = /dev/ttyACM0"), "COM3 = /dev/ttyACM0");
    PosixFiles chinese;  // without a flag
    EXPECT_FALSE(chinese.readPrefix("/tmp", 10, error));
    EXPECT_EQ(error, "“/tmp”：不是普通文件");
    EXPECT_EQ(files.reword(error), error);  // another object's words
}

// Reads on the real file system stop at their cap; a FIFO with nobody at its other end and a
// folder are refused at once, with the reason.
TEST(PosixFiles, ReadsStopAtTheCapAndOnlyRegularFilesOpen) {
    char pattern[] = "/tmp/orva-files-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    const std::string path = dir + "/QDMC_Data.txt", fifo = dir + "/fifo";
    PosixFiles files([] { return true; });
    std::string error;
    ASSERT_TRUE(files.writeAll(path, std::string(200000, 'x') + "end", error));
    EXPECT_EQ(files.readPrefix(path, 70000, error), std::string(70000, 'x'));
    EXPECT_EQ(files.readOrCreate(path, 3, error), "xxx");
    EXPECT_EQ(error, "");
    ASSERT_TRUE(files.writeAll(path, "short", error));  // the rest of the old content goes
    EXPECT_EQ(files.readPrefix(path, 1u << 20, error), "short");

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
