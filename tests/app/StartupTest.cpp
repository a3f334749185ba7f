#include <gtest/gtest.h>

#include <cstdio>

#include "support/OrvaProcess.h"
#include "support/PtyPeer.h"

namespace orva::test {
namespace {

// A controller answering from a script: the query echoed, '=', four digits, CR LF.
std::string reply(char code, const std::string& digits) {
    return std::string{'?', code, '\r', '='} + digits + "\r\n";
}

// The real binary in an empty folder: COM3, its two bytes in the configuration file, and the
// whole read-back chain over the pseudo-terminal, the 0-valued D asked four times in all.
TEST(Startup, EmptyFolderOpensCom3AndWalksTheReadBack) {
    PtyPeer pty;
    const auto dir = freshDir();
    OrvaProcess orva(ORVA_BINARY, dir, 3, pty.slave());

    const std::string_view chain = "VCABDDDDEFG!@#$HIJK%^&()_+LRT`YZQ4567MNOPabcdef=ghi<j";
    std::string asked;
    for (char expected : chain) {
        const std::string query = pty.read(3);
        ASSERT_EQ(query, std::string({'?', expected, '\r'})) << "after " << asked;
        asked.push_back(expected);
        pty.write(reply(expected, expected == 'V' ? "1220" : expected == 'D' ? "0000" : "0005"));
    }
    EXPECT_EQ(fileBytes(dir / "qdmcconfig.ini"), std::string("3\0", 2));  // digit 3, NUL

    // Nothing follows the reply to j (the one wait for silence: no byte can mark its end); the
    // acknowledgement of a default set, in a read of its own, restarts the chain.
    EXPECT_EQ(pty.drain(std::chrono::milliseconds(300)), "");
    pty.write("Sj000");
    EXPECT_EQ(pty.read(3), "?V\r");
    std::filesystem::remove_all(dir);
}

// The command line is answered before any window exists, so it works without a display.
TEST(Startup, HelpVersionAndUnknownOptionsNeedNoDisplay) {
    const struct {
        const char* args;
        int exitCode;
        const char* firstLine;
    } cases[] = {
        {"--version", 0, "orva 1.220"},
        {"--help", 0, "Usage: orva [--demo]"},
        {"--demo --bogus", 2, "orva: Unknown option 'bogus'."},
    };
    for (const auto& c : cases) {
        const std::string command = std::string(
                                        "env -u DISPLAY -u WAYLAND_DISPLAY -u "
                                        "QT_QPA_PLATFORM ") +
                                    ORVA_BINARY + " " + c.args + " 2>&1";
        FILE* out = popen(command.c_str(), "r");
        ASSERT_NE(out, nullptr);
        std::string text;
        for (int ch = fgetc(out); ch != EOF; ch = fgetc(out)) {
            text.push_back(static_cast<char>(ch));
        }
        const int status = pclose(out);
        EXPECT_EQ(text.substr(0, text.find('\n')), c.firstLine);
        EXPECT_EQ(WEXITSTATUS(status), c.exitCode) << c.args;
    }
}

}  // namespace
}  // namespace orva::test
