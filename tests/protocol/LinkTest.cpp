#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "protocol/Frames.h"
#include "protocol/Link.h"
#include "support/Fakes.h"

namespace orva {
namespace {

// Every sender's bytes are checked in its own tests; only a restored file can go past 9999.
TEST(Frames, SetCommandsCarryTheValueModulo10000) {
    EXPECT_EQ(frames::set('Q', 10130), "SQ0130\r");
}

// The list shows COM1 and the record COM2 (the port record's own rules are tested with the core);
// each event the link reports is kept.
class LinkTest : public ::testing::Test, public IPortChoice {
  protected:
    LinkTest() {
        link.setListener([this](LineEvent event) { events.push_back(event); });
    }
    int recorded() override { return 2; }
    int listed() override { return 1; }
    void tried() override {}

    test::FakeClock clock;
    test::FakePort port;
    Link link{port, clock, *this};
    std::vector<LineEvent> events;
};

TEST_F(LinkTest, UnlistedModeLeavesInputWaiting) {
    link.enter(static_cast<ProtocolMode>(8));
    port.receive("SC0045\r\n");
    EXPECT_EQ(port.pending, "SC0045\r\n");
    EXPECT_EQ(link.answers(), 0u);
}

// Records each restart it is told of, with the port's closes by then.
struct Holder : IRestartable {
    const test::FakePort& port;
    std::vector<std::pair<RestartKind, int>> told;
    explicit Holder(const test::FakePort& p) : port(p) {}
    void onRestart(RestartKind kind) override { told.emplace_back(kind, port.closes); }
};

// The calibration is offered an acknowledgement before the custom frame, though the frame
// registered first; one that declines passes it on. The exchange's state, registered in two
// modes and joined besides, is told once of each restart, before the port closes.
TEST_F(LinkTest, FramesGoInTheTablesOrderAndEachHolderHearsOfEachRestartOnce) {
    Holder holder{port};
    std::vector<std::string> seen;
    // A taker that notes the acknowledgement and the time, and takes it or passes it on.
    const auto taker = [&](std::string name, bool takes) {
        return [&, name, takes](const Acknowledgement& ack) {
            seen.push_back(name + " " + ack.prefix + " at " + std::to_string(clock.now));
            return takes;
        };
    };
    link.on<Acknowledgement>(ProtocolMode::AckChain, Exchange::FrameSave, holder,
                             taker("frame", true));
    link.on<Acknowledgement>(ProtocolMode::AckChain, Exchange::Calibration, holder,
                             taker("calibration", false));
    link.on<Acknowledgement>(ProtocolMode::Restore, Exchange::Restore, holder,
                             taker("restore", true));
    link.enter(ProtocolMode::AckChain, Reply::Emptied);
    clock.now = 2000;
    port.receive("S10370\r\n");
    // The clock steps 1 ms per read: one read stamps the answer's arrival at 2000, and the first
    // read past 50 ms after the next ends the wait at 2052.
    EXPECT_EQ(seen, (std::vector<std::string>{"calibration S1 at 2052", "frame S1 at 2052"}));

    // A second taker for one exchange and mode, or a pair the order does not list, is refused.
    const auto none = [](const Acknowledgement&) {};
    EXPECT_THROW(
        link.on<Acknowledgement>(ProtocolMode::AckChain, Exchange::FrameSave, holder, none),
        std::logic_error);
    EXPECT_THROW(
        link.on<Acknowledgement>(ProtocolMode::Restore, Exchange::Calibration, holder, none),
        std::logic_error);

    link.joinRestarts(holder);
    link.restart(RestartKind::File);  // opens the closed port
    link.restart(RestartKind::Combo);
    EXPECT_EQ(holder.told, (std::vector<std::pair<RestartKind, int>>{{RestartKind::File, 0},
                                                                     {RestartKind::Combo, 0}}));
    EXPECT_EQ(port.closes, 1);
}

// Frames while no monitor runs: one stop command, however many frames; a query that the stream
// kept from its answer goes out again once the stream has had time to stop, and only then.
TEST_F(LinkTest, AStreamFoundOutsideTheMonitorIsStoppedOnceAndTheWaitingCommandStartsAgain) {
    const std::string frame = "CHDA15001500150015001500150015001500\r\n";
    port.isOpen = true;
    link.sendQuery('C');
    port.receive(frame + frame);
    clock.now += 100;
    port.receive(frame);
    EXPECT_EQ(port.takeWritten(), "?C\rS~0000\r");
    EXPECT_EQ(std::pair(link.streamStopped(), events),
              std::pair(true, std::vector<LineEvent>{LineEvent::StreamStopped}));
    link.checkQuiet();
    clock.now += 350;
    link.checkQuiet();
    EXPECT_EQ(port.takeWritten(), "");
    clock.now += 100;
    link.checkQuiet();
    EXPECT_EQ(port.takeWritten(), "?C\r");
    port.receive(frame);  // the stop is 550 ms old: frames now are a new stream
    EXPECT_EQ(port.takeWritten(), "S~0000\r");
    port.receive("?C\r 0050\r\n");
    clock.now += 1000;
    link.checkQuiet();
    EXPECT_EQ(port.takeWritten(), "");  // answered: nothing goes again
    // While the monitor runs, its frames are what is expected.
    link.setStreamExpected([] { return true; });
    link.enter(ProtocolMode::AckChain);
    port.receive(frame);
    EXPECT_EQ(port.takeWritten(), "");
}

// The exchange under way ends with its line: the port is closed at once, so that nothing more
// goes to a device that is gone, and a restart opens it again.
TEST_F(LinkTest, ALostLineIsClosedAndNothingIsAwaitedFromIt) {
    link.restart(RestartKind::Combo);
    link.enter(ProtocolMode::Restore);
    link.sendQuery('V');
    port.event = CMSComm::kCommEventLineLost;
    port.receive("");
    clock.now += 5000;
    link.checkQuiet();
    EXPECT_EQ(std::tuple(port.isOpen, port.closes, link.mode(), link.diagnosis().lineLost()),
              std::tuple(false, 1, ProtocolMode::Idle, true));
    EXPECT_EQ(events, (std::vector<LineEvent>{LineEvent::Opened, LineEvent::Lost}));
}

}  // namespace
}  // namespace orva
