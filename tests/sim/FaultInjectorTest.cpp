#include <gtest/gtest.h>

#include "sim/FaultInjector.h"

namespace orva::sim {
namespace {

using namespace std::chrono_literals;

Outgoing reply(std::string bytes) {
    return {Outgoing::Kind::Reply, std::move(bytes)};
}
Outgoing loaderAnswer(char fill) {
    return {Outgoing::Kind::LoaderAnswer, std::string(64, fill)};
}
Outgoing monitor() {
    return {Outgoing::Kind::Monitor, "CHDA15001500150015001500150015001500\r\n"};
}

// The writes of one message, bytes only.
std::vector<std::string> writes(const WirePlan& plan) {
    std::vector<std::string> out;
    for (const WireWrite& w : plan.writes) {
        out.push_back(w.bytes);
    }
    return out;
}

using Writes = std::vector<std::string>;

TEST(FaultInjectorTest, WithoutFaultsEveryMessageIsOneWrite) {
    FaultInjector line;
    const WirePlan plan = line.shape(reply("?C\r=0050\r\n"));
    EXPECT_EQ(writes(plan), Writes{"?C\r=0050\r\n"});
    EXPECT_EQ(plan.writes[0].delay, 0us);
    EXPECT_FALSE(plan.closeLine);
    EXPECT_EQ(writes(line.shape(monitor())), Writes{monitor().bytes});
}

TEST(FaultInjectorTest, DropEveryNthAnswerLeavesMonitorFramesAlone) {
    FaultInjector line({.dropEvery = 3});
    std::vector<std::size_t> sent;
    for (int i = 1; i <= 7; ++i) {
        sent.push_back(line.shape(reply("answer" + std::to_string(i))).writes.size());
        EXPECT_EQ(line.shape(monitor()).writes.size(), 1u);
    }
    EXPECT_EQ(sent, (std::vector<std::size_t>{1, 1, 0, 1, 1, 0, 1}));
}

TEST(FaultInjectorTest, CorruptInvertsOneByteOfEveryNthAnswer) {
    FaultInjector line({.corruptEvery = 2, .corruptByte = 4});
    EXPECT_EQ(writes(line.shape(reply("?C\r=0050\r\n"))), Writes{"?C\r=0050\r\n"});
    EXPECT_EQ(writes(line.shape(reply("?A\r=0005\r\n"))), Writes{"?A\r=\xCF"
                                                                 "005\r\n"});
    EXPECT_EQ(writes(line.shape(reply("?B\r=0007\r\n"))), Writes{"?B\r=0007\r\n"});
    // An answer shorter than the index loses its last byte instead.
    EXPECT_EQ(writes(line.shape(reply("RADY"))), Writes{"RAD\xA6"});
}

TEST(FaultInjectorTest, SplitCutsWritesIntoRandomPiecesThatAddUp) {
    FaultInjector line({.split = true, .splitGap = 700us, .seed = 5});
    std::size_t pieces = 0;
    for (int i = 0; i < 20; ++i) {
        const WirePlan plan = line.shape(monitor());
        std::string joined;
        for (std::size_t k = 0; k < plan.writes.size(); ++k) {
            EXPECT_FALSE(plan.writes[k].bytes.empty());
            EXPECT_EQ(plan.writes[k].delay, k == 0 ? 0us : 700us);
            joined += plan.writes[k].bytes;
        }
        EXPECT_EQ(joined, monitor().bytes);
        pieces += plan.writes.size();
    }
    EXPECT_GT(pieces, 40u);
}

TEST(FaultInjectorTest, JoinSendsTwoAnswersInOneWrite) {
    FaultInjector line({.joinEvery = 1});
    EXPECT_EQ(writes(line.shape(reply("one."))), Writes{});
    EXPECT_EQ(writes(line.shape(reply("two."))), Writes{"one.two."});
    EXPECT_EQ(writes(line.shape(reply("three."))), Writes{});
    // A held answer also leaves with the next monitor frame.
    EXPECT_EQ(writes(line.shape(monitor())), Writes{"three." + monitor().bytes});

    FaultInjector third({.joinEvery = 3});
    Writes all;
    for (std::string text : {"a", "b", "c", "d", "e", "f", "g"}) {
        for (const std::string& w : writes(third.shape(reply(text)))) {
            all.push_back(w);
        }
    }
    EXPECT_EQ(all, (Writes{"a", "b", "cd", "e", "fg"}));
}

TEST(FaultInjectorTest, StallCutsTheNthLoaderAnswerInTheMiddle) {
    FaultInjector later({.stallPacket = 2, .stallTime = 250ms});
    EXPECT_EQ(writes(later.shape(reply("RADY\r\n"))), Writes{"RADY\r\n"});
    EXPECT_EQ(later.shape(loaderAnswer('a')).writes.size(), 1u);
    const WirePlan cut = later.shape(loaderAnswer('b'));
    EXPECT_EQ(writes(cut), (Writes{std::string(32, 'b'), std::string(32, 'b')}));
    EXPECT_EQ(cut.writes[0].delay, 0us);
    EXPECT_EQ(cut.writes[1].delay, 250ms);
    EXPECT_EQ(later.shape(loaderAnswer('c')).writes.size(), 1u);

    FaultInjector never({.stallPacket = 1});
    EXPECT_EQ(writes(never.shape(loaderAnswer('a'))), Writes{std::string(32, 'a')});
}

TEST(FaultInjectorTest, CloseAfterNBytesCutsTheWriteAndClosesTheLine) {
    FaultInjector line({.closeAfter = 15});
    EXPECT_FALSE(line.shape(reply("?C\r=0050\r\n")).closeLine);
    const WirePlan last = line.shape(reply("?A\r=0005\r\n"));
    EXPECT_EQ(writes(last), Writes{"?A\r=0"});
    EXPECT_TRUE(last.closeLine);
    EXPECT_TRUE(line.closed());
    EXPECT_EQ(line.bytesSent(), 15);
    EXPECT_EQ(writes(line.shape(monitor())), Writes{});
}

}  // namespace
}  // namespace orva::sim
