#include "support/CoreHarness.h"

namespace orva::test {
namespace {

using CalibrationChainTest = CoreHarness;

TEST_F(CalibrationChainTest, EachAcknowledgementSendsTheNextTapAfterThePause) {
    // The cells, the running tap sums sent under codes 0..3 (modulo 10000) and the closing box.
    const std::tuple<std::array<int, 4>, const char*, const char*> calibrations[] = {
        {{9000, 1370, 5, 0}, "S09000\rS10370\rS20375\rS30375\r", "Halvane提示: 校准完成！"},
        {{370, 370, 370, 370},
         "S00370\rS10740\rS21110\rS31480\r",
         "Halvane Mentioned: Calibrate OK !"},
    };
    for (const auto& [cells, expected, done] : calibrations) {
        for (int i = 0; i < 4; ++i) {
            model().setNumber({Dialog::Voltage, 1242 + i}, cells[i]);
        }
        click(ids::voltage::kCalibrate);
        std::string sent = port.takeWritten();
        port.receive("SX0000\r\n");  // the acknowledgement of no link does nothing
        for (const char code : {'0', '1', '2', '3'}) {
            const std::uint64_t before = clock.now;
            port.receive(std::string{'S', code} + "0000\r");
            EXPECT_TRUE(port.writes.empty());  // seven bytes are not an acknowledgement yet
            port.receive("\n");
            for (const FakePort::Write& w : port.takeWrites()) {
                sent += w.bytes;
                EXPECT_GE(w.atMs - before, 50u);
            }
        }
        EXPECT_EQ(sent, expected);
        EXPECT_EQ(lastMessage().title + " " + lastMessage().text, done);  // after the question
        EXPECT_EQ(mode(), ProtocolMode::Idle);
        click(ids::main::kLanguage);
    }

    // Refresh forgets the voltages: a late acknowledgement in the chain's mode carries zeros.
    click(ids::main::kRefresh);
    core.link().enter(ProtocolMode::AckChain);
    writes();
    acknowledge('0');
    EXPECT_EQ(writes(), std::vector<std::string>{"S10000\r"});
}

}  // namespace
}  // namespace orva::test
