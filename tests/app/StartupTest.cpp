#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/OrvaProcess.h"
#include "support/PtyPeer.h"

namespace orva::test {
namespace {

TEST(Startup, EmptyFolderOpensCom3AndAsksForTheVersion) {
    PtyPeer pty;
    auto dir = freshDir("startup-empty");
    OrvaProcess orva(ORVA_BINARY, dir, 3, pty.slave());
    EXPECT_EQ(pty.read(3), "?V\r");
    EXPECT_EQ(fileBytes(dir / "qdmcconfig.ini"), std::string("3\0", 2));  // digit 3, NUL
    std::filesystem::remove_all(dir);
}

TEST(Startup, StoredPortTwelveIsOpened) {
    PtyPeer pty;
    auto dir = freshDir("startup-twelve");
    std::ofstream(dir / "qdmcconfig.ini", std::ios::binary) << "12";
    OrvaProcess orva(ORVA_BINARY, dir, 12, pty.slave());
    EXPECT_EQ(pty.read(3), "?V\r");
    EXPECT_EQ(fileBytes(dir / "qdmcconfig.ini"), "12");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace orva::test
