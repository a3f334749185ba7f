#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "support/OrvaProcess.h"
#include "support/PtyPeer.h"

namespace orva::test {
namespace {

using namespace std::chrono_literals;

// The whole main chain in order, the 0-valued D asked four times in all.
constexpr std::string_view kExpectedQueries =
    "VCAB"
    "DDDD"
    "EFG!@#$HIJK%^&()_+LRT`YZQ4567MNOPabcdef=ghi<j";

// A controller answering from a script: the query echoed, '=', four digits, CR LF.
std::string reply(char code, const std::string& digits) {
    return std::string{'?', code, '\r', '='} + digits + "\r\n";
}

TEST(ReadbackSystem, RealBinaryWalksTheChainAgainstAScriptedController) {
    PtyPeer pty;
    auto dir = freshDir("readback");
    OrvaProcess orva(ORVA_BINARY, dir, 3, pty.slave());

    std::string asked;
    for (;;) {
        const std::string query = pty.read(3);
        ASSERT_EQ(query.size(), 3u) << "chain stalled after " << asked;
        ASSERT_EQ(query[0], '?');
        ASSERT_EQ(query[2], '\r');
        const char code = query[1];
        asked.push_back(code);
        // D reads 0 and is asked again; every other code has a value.
        pty.write(reply(code, code == 'V' ? "1220" : code == 'D' ? "0000" : "0005"));
        if (code == 'j' || asked.size() > kExpectedQueries.size()) {
            break;
        }
    }
    EXPECT_EQ(asked, kExpectedQueries);
    EXPECT_EQ(pty.drain(500ms), "");  // nothing follows the reply to j

    // A default-set acknowledgement restarts the chain, after the controller had 10 ms.
    pty.write("Sj0");
    // Taken before the last bytes go out: the tool cannot start its pause before they exist.
    const auto sent = std::chrono::steady_clock::now();
    pty.write("00");  // five bytes in all
    EXPECT_EQ(pty.read(3), "?V\r");
    // Ten ticks of a whole-millisecond counter span a little over nine milliseconds at least.
    EXPECT_GE(std::chrono::steady_clock::now() - sent, 9ms);

    // A reply whose count passes 10 is never taken: the chain stalls.
    pty.write(reply('V', "1220") + "x");
    EXPECT_EQ(pty.drain(500ms), "");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace orva::test
