#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "platform/PosixFiles.h"

namespace orva::test {
namespace {

// The restore's read of a parameter file on the real file system.
TEST(PosixPrefix, ReadsAtMostTheCapAndReportsFailures) {
    char pattern[] = "/tmp/orva-prefix-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    const std::string path = dir + "/QDMC_Data.txt";
    PosixFiles files;
    std::string error;

    EXPECT_FALSE(files.readPrefix(path, 100, error));  // missing
    EXPECT_NE(error.find(path), std::string::npos);

    ASSERT_TRUE(files.writeAll(path, std::string(200000, 'x') + "end", error));
    auto head = files.readPrefix(path, 70000, error);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->size(), 70000u);
    EXPECT_TRUE(error.empty());
    auto whole = files.readPrefix(path, 1u << 20, error);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->size(), 200003u);
    EXPECT_EQ(whole->substr(200000), "end");
    EXPECT_EQ(files.readAll(path, error), whole);

    // A folder opens but cannot be read: nothing read, and the reason.
    auto folder = files.readPrefix(dir, 100, error);
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->empty());
    EXPECT_FALSE(error.empty());

    ::unlink(path.c_str());
    ::rmdir(dir.c_str());
}

}  // namespace
}  // namespace orva::test
