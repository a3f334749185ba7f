#include <gtest/gtest.h>

#include "protocol/Frames.h"
#include "protocol/ProtocolEngine.h"
#include "support/Fakes.h"

namespace orva {
namespace {

using namespace std::string_literals;

// Remembers the tick at which each frame was written.
class TimedPort : public test::FakePort {
  public:
    explicit TimedPort(test::FakeClock& clock) : m_clock(clock) {}
    void SetOutput(std::string_view bytes) override {
        writeTimes.push_back(m_clock.now);
        FakePort::SetOutput(bytes);
    }
    std::vector<std::uint64_t> writeTimes;

  private:
    test::FakeClock& m_clock;
};

class ProtocolEngineTest : public ::testing::Test {
  protected:
    ProtocolEngineTest() : port(clock), engine(port, clock, state) {
        port.SetOnComm([this] { engine.onComm(); });
        engine.setReplyHandler('C', [this](std::string_view v) { calls.emplace_back(v); });
    }

    test::FakeClock clock;
    TimedPort port;
    ProtocolState state;
    ProtocolEngine engine;
    std::vector<std::string> calls;
};

TEST(Frames, QueryAndSetBytes) {
    EXPECT_EQ(frames::query('V'), "?V\r");
    EXPECT_EQ(frames::set('E', 50), "SE0050\r");
    EXPECT_EQ(frames::set('Q', 180), "SQ0180\r");
    EXPECT_EQ(frames::set('a', 4095), "Sa4095\r");
    EXPECT_EQ(frames::set('j', 0), "Sj0000\r");      // first default set
    EXPECT_EQ(frames::set('C', 12345), "SC2345\r");  // value mod 10000
}

TEST_F(ProtocolEngineTest, ReplyCompleteAtExactlyTenBytesInAnySplit) {
    // "?C\r" query echo, one spare byte, value "0050", two trailing bytes.
    const std::string reply =
        "?C\r"
        "x"
        "0050"
        "\r\n";
    for (std::size_t cut1 = 1; cut1 < reply.size(); ++cut1) {
        for (std::size_t cut2 = cut1; cut2 < reply.size(); ++cut2) {
            calls.clear();
            port.receive(reply.substr(0, cut1));
            port.receive(reply.substr(cut1, cut2 - cut1));
            port.receive(reply.substr(cut2));
            ASSERT_EQ(calls, std::vector<std::string>{"0050"}) << cut1 << "," << cut2;
            EXPECT_EQ(state.receivedCount, 0);
            EXPECT_TRUE(state.replyBuffer.empty());
        }
    }
}

TEST_F(ProtocolEngineTest, CountPassingTenIsNeverProcessed) {
    port.receive("?C\rx0050");  // 8 bytes
    port.receive("\r\n?C");     // 12 in all: the reply's end and two more bytes
    EXPECT_EQ(state.receivedCount, 12);
    port.receive("\rx0050\r\n?C\rx");  // keeps growing
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(state.receivedCount, 24);
}

TEST_F(ProtocolEngineTest, UnknownPrefixStaysAtHeadOfBuffer) {
    port.receive("?%\rx0050\r\n");  // no handler for % registered: not recognised
    EXPECT_EQ(state.receivedCount, 0);
    EXPECT_EQ(state.replyBuffer, "?%\rx0050\r\n");
    port.receive("?C\rx0050\r\n");  // a good reply behind it is not recognised either
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(state.replyBuffer.substr(0, 3), "?%\r");

    engine.resetReply();
    port.receive("XYZ0000000");  // garbage of the right length
    EXPECT_EQ(state.replyBuffer, "XYZ0000000");
    EXPECT_TRUE(calls.empty());
}

TEST_F(ProtocolEngineTest, ZeroByteCountedButNotStoredShiftsValue) {
    port.receive("?C\r"s + '\0' + "0050\r\n");  // the spare byte is NUL
    ASSERT_EQ(calls.size(), 1u);
    // The value is the first four of the last six stored characters, so a dropped spare byte
    // does not disturb it...
    EXPECT_EQ(calls[0], "0050");
    calls.clear();
    // ...but a NUL inside the value pulls the spare byte in.
    port.receive("?C\rx"s + '\0' + "050\r\n");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], "x050");
}

TEST_F(ProtocolEngineTest, DefaultSetAcknowledgementRestartsReadBackAfterTenMs) {
    const std::uint64_t start = clock.now;
    state.retryCounter = 1;
    port.receive("Sj0");  // 3 bytes: not yet
    EXPECT_TRUE(port.written.empty());
    port.receive("000\r");  // S, j, 0, 0, 0, 0, CR
    EXPECT_EQ(port.takeWritten(), "?V\r");
    ASSERT_EQ(port.writeTimes.size(), 1u);
    EXPECT_GE(port.writeTimes[0] - start, 10u);
    EXPECT_TRUE(state.replyBuffer.empty());
    EXPECT_EQ(state.receivedCount, 0);
    EXPECT_EQ(state.retryCounter, 1);  // untouched
}

TEST_F(ProtocolEngineTest, DefaultSetRuleNeedsInputInThisEvent) {
    port.event = 3;  // a line-state change: nothing is read
    port.queue("Sj0000\r");
    port.receive("");
    EXPECT_TRUE(port.written.empty());
    EXPECT_EQ(state.receivedCount, 0);
    port.event = CMSComm::kCommEventReceive;
    port.receive("");
    EXPECT_EQ(port.takeWritten(), "?V\r");
}

TEST_F(ProtocolEngineTest, ModesDispatchAndUnlistedModesReadNothing) {
    std::vector<std::pair<int, int>> seen;  // mode, count
    for (int mode : {2, 3, 7, 10, 15, 20, 30}) {
        engine.setModeHandler(mode,
                              [&, mode](bool) { seen.emplace_back(mode, state.receivedCount); });
    }
    for (int mode : {1, 8, 9, 11, 16, 31, 100, -1}) {
        state.mode = mode;
        port.receive("abc");
        EXPECT_EQ(port.pending, "abc") << mode;  // left waiting
        port.pending.clear();
    }
    EXPECT_TRUE(seen.empty());
    for (int mode : {7, 10, 15, 20, 30, 2}) {
        state.mode = mode;
        engine.resetReply();
        port.receive("S7\0abc"s);
        EXPECT_EQ(state.replyBuffer, "S7abc");
    }
    EXPECT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen.back(), (std::pair<int, int>{2, 6}));
}

TEST_F(ProtocolEngineTest, PacketModesStoreBinaryBytesAfterTheCount) {
    state.mode = 4;
    engine.setModeHandler(4, [](bool) {});
    port.receive("\x01\x00\x02"s);
    port.receive("\x03"s);
    EXPECT_EQ(state.receivedCount, 4);
    EXPECT_EQ(state.packetReply[0], 1);
    EXPECT_EQ(state.packetReply[1], 0);  // zero bytes are kept in packets
    EXPECT_EQ(state.packetReply[3], 3);
    EXPECT_TRUE(state.replyBuffer.empty());
    port.receive(std::string(200, '\x7f'));  // more than one packet: no overrun
    EXPECT_EQ(state.receivedCount, 204);
    EXPECT_EQ(state.packetReply[63], 0x7f);
}

}  // namespace
}  // namespace orva
