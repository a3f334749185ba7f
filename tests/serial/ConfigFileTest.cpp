#include <gtest/gtest.h>

#include "serial/ConfigFile.h"
#include "support/Fakes.h"

namespace orva {
namespace {

using test::MemoryFiles;

TEST(ConfigFile, WritesTwoBytesWithoutTruncating) {
    MemoryFiles files;
    ConfigFile config(files);
    std::string error;

    ASSERT_TRUE(config.write(3, error));
    EXPECT_EQ(files.content["qdmcconfig.ini"], std::string("3\0", 2));  // digit, NUL

    ASSERT_TRUE(config.write(12, error));
    EXPECT_EQ(files.content["qdmcconfig.ini"], "12");  // two digits, no line end

    files.content["qdmcconfig.ini"] = "20 and more";
    ASSERT_TRUE(config.write(5, error));
    // Only the first two bytes change; the tail of a longer file survives.
    EXPECT_EQ(files.content["qdmcconfig.ini"], std::string("5\0 and more", 11));
}

TEST(ConfigFile, ReadsLeadingInteger) {
    MemoryFiles files;
    ConfigFile config(files);
    std::string error;

    auto missing = config.read(error);
    ASSERT_TRUE(missing);
    EXPECT_FALSE(missing->recorded);
    EXPECT_TRUE(files.content.count("qdmcconfig.ini"));  // created empty by the read

    const std::pair<std::string, int> cases[] = {
        {std::string("3\0", 2), 3},  // single digit ended by its NUL
        {"12", 12},
        {"  7x", 7},  // blanks before, stops at the first non-digit
        {"-4", -4},
        {"abc", 0},  // no number at all
        {std::string("1\0"
                     "9",
                     3),
         1},
    };
    for (const auto& [content, port] : cases) {
        files.content["qdmcconfig.ini"] = content;
        auto read = config.read(error);
        ASSERT_TRUE(read);
        EXPECT_TRUE(read->recorded);
        EXPECT_EQ(read->port, port) << content;
    }
}

TEST(ConfigFile, ReportsFileLayerErrors) {
    MemoryFiles files;
    files.failing["qdmcconfig.ini"] = "read-only file system";
    ConfigFile config(files);
    std::string error;
    EXPECT_FALSE(config.read(error));
    EXPECT_EQ(error, "read-only file system");
    error.clear();
    EXPECT_FALSE(config.write(4, error));
    EXPECT_EQ(error, "read-only file system");
}

}  // namespace
}  // namespace orva
