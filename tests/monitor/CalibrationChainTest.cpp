#include "monitor/CalibrationChain.h"
#include "monitor/MonitorFixture.h"

namespace orva::test {
namespace {

constexpr ControlKey kCells[] = {{Dialog::Voltage, 1242},
                                 {Dialog::Voltage, 1243},
                                 {Dialog::Voltage, 1244},
                                 {Dialog::Voltage, 1245}};

class CalibrationChainTest : public MonitorFixture {
  protected:
    void typeCells(int v1, int v2, int v3, int v4) {
        const int values[] = {v1, v2, v3, v4};
        for (int i = 0; i < 4; ++i) {
            model().setNumber(kCells[i], values[i]);
        }
    }
    // The controller's acknowledgement of a set command: the command and a line feed.
    void acknowledge(char code, int value) {
        std::string ack = frames::set(code, value);
        ack.push_back('\n');
        port.receive(ack);
    }
};

TEST_F(CalibrationChainTest, EachAcknowledgementSendsTheNextTapAfterThePause) {
    click(ids::main::kLanguage);
    typeCells(370, 370, 370, 370);
    click(ids::voltage::kCalibrate);
    EXPECT_EQ(writes(), std::vector<std::string>{"S00370\r"});
    EXPECT_EQ(mode(), ProtocolMode::AckChain);
    prompts.shown.clear();  // the question before the start

    struct Step {
        char acknowledged;
        int value;
        const char* next;
    };
    const Step steps[] = {{'0', 370, "S10740\r"}, {'1', 740, "S21110\r"}, {'2', 1110, "S31480\r"}};
    for (const Step& step : steps) {
        const std::uint64_t before = clock.now;
        acknowledge(step.acknowledged, step.value);
        const auto sent = port.takeWrites();
        ASSERT_EQ(sent.size(), 1u) << step.acknowledged;
        EXPECT_EQ(sent[0].bytes, step.next);
        EXPECT_GE(sent[0].atMs - before, 50u);  // the pause before each link
        EXPECT_EQ(mode(), ProtocolMode::AckChain);
        EXPECT_TRUE(prompts.shown.empty());
    }

    acknowledge('3', 1480);
    EXPECT_TRUE(port.takeWrites().empty());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Calibrate OK !");
    EXPECT_EQ(prompts.shown[0].title, "Halvane Mentioned:");
    EXPECT_EQ(prompts.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(mode(), ProtocolMode::Idle);
}

TEST_F(CalibrationChainTest, ChineseEndMessageAndTapsFoldedToFourDigits) {
    typeCells(9000, 1370, 5, 0);
    click(ids::voltage::kCalibrate);
    EXPECT_EQ(writes(), std::vector<std::string>{"S09000\r"});
    acknowledge('0', 9000);
    EXPECT_EQ(writes(), std::vector<std::string>{"S10370\r"});  // 10370 sent as 0370
    acknowledge('1', 370);
    EXPECT_EQ(writes(), std::vector<std::string>{"S20375\r"});
    acknowledge('2', 375);
    acknowledge('3', 375);
    ASSERT_EQ(prompts.shown.size(), 2u);  // the question, then the end
    EXPECT_EQ(prompts.shown[1].text, "校准完成！");
    EXPECT_EQ(prompts.shown[1].title, "Halvane提示:");

    EXPECT_EQ(CalibrationChain::taps({370, 370, 370, 370}),
              (std::array<int, 4>{370, 740, 1110, 1480}));
}

TEST_F(CalibrationChainTest, OnlyExactlyEightBytesMakeAnAcknowledgement) {
    typeCells(100, 100, 100, 100);
    click(ids::voltage::kCalibrate);
    port.takeWrites();

    port.receive("S00100\r");  // seven characters: nothing yet
    EXPECT_TRUE(port.takeWrites().empty());
    EXPECT_EQ(core.link().receivedCount(), 7);
    port.receive("\n");
    EXPECT_EQ(writes(), std::vector<std::string>{"S10200\r"});

    // Two acknowledgements in one read pass 8 without meeting it: the chain stalls.
    port.receive("S10200\r\nS10200\r\n");
    EXPECT_TRUE(port.takeWrites().empty());
    EXPECT_EQ(mode(), ProtocolMode::AckChain);

    // A prefix of no row is consumed and does nothing.
    core.link().enter(core.link().mode(), Reply::Emptied);
    port.receive("SX0000\r\n");
    EXPECT_TRUE(port.takeWrites().empty());
    EXPECT_EQ(mode(), ProtocolMode::AckChain);
    EXPECT_TRUE(core.link().replyText().empty());
}

TEST_F(CalibrationChainTest, CancelSendsNothingAndKeepsTheMode) {
    typeCells(370, 370, 370, 370);
    prompts.answers.push_back(MessageResult::Cancel);
    click(ids::voltage::kCalibrate);
    EXPECT_TRUE(port.takeWrites().empty());
    EXPECT_EQ(mode(), ProtocolMode::Idle);
}

TEST_F(CalibrationChainTest, RefreshForgetsTheCalibrationValues) {
    typeCells(370, 370, 370, 370);
    click(ids::voltage::kCalibrate);
    core.onUserAction({ActionKind::Click, ids::main::kRefresh});
    port.takeWrites();
    // A late acknowledgement in the chain's mode no longer carries the old voltages.
    core.link().enter(ProtocolMode::AckChain);
    acknowledge('0', 370);
    EXPECT_EQ(writes(), std::vector<std::string>{"S10000\r"});
}

}  // namespace
}  // namespace orva::test
