#include <gtest/gtest.h>

#include <QCoreApplication>

#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "qtserial/QtCommPort.h"
#include "support/PtyPeer.h"
#include "support/SimulatorLine.h"

namespace orva {
namespace {

// The adapter on an event loop, COM3 standing for a bare pseudo-terminal's device.
class QtCommPortTest : public ::testing::Test {
  protected:
    void open() {
        port.SetCommPort(3);
        ASSERT_TRUE(port.SetPortOpen(true)) << port.LastError();
    }

    test::EventLoop loop;
    std::unique_ptr<test::PtyPeer> peer = std::make_unique<test::PtyPeer>();
    QtCommPort port{test::comTo(peer->slave())};
};

// Bytes both ways, zero bytes included, are seen through the tool in the simulator's system
// tests; this is what only the adapter says: why a port cannot be opened, and that it closed.
TEST_F(QtCommPortTest, APortWithNoDeviceSaysWhyAndAnOpenOneCloses) {
    port.SetCommPort(4);  // nothing stands for COM4
    EXPECT_FALSE(port.SetPortOpen(true));
    EXPECT_EQ(port.LastError(), "no serial device stands for COM4");
    open();
    port.SetPortOpen(false);
    EXPECT_FALSE(port.GetPortOpen());
}

// Held writes stay off the line and leave on release in the order written; closing the line
// drops them.
TEST_F(QtCommPortTest, HeldWritesLeaveInOrderOnRelease) {
    open();
    port.holdOutput();
    port.SetOutput("?V\r");
    port.SetOutput("SC0045\r");
    EXPECT_EQ(peer->drain(std::chrono::milliseconds{50}), "");
    port.releaseOutput();
    EXPECT_EQ(peer->read(10), "?V\rSC0045\r");
    port.SetOutput("?C\r");
    EXPECT_EQ(peer->read(3), "?C\r");
    port.holdOutput();  // held, then the line is closed and opened again: they are gone
    port.SetOutput("?V\r");
    port.SetPortOpen(false);
    ASSERT_TRUE(port.SetPortOpen(true));
    port.releaseOutput();
    EXPECT_EQ(peer->drain(std::chrono::milliseconds{50}), "");
}

// Reading Input takes what the device holds too, before any receive event has run: a discard
// leaves nothing behind to head the next answer.
TEST_F(QtCommPortTest, InputTakesWhatTheDeviceHoldsBeforeTheEventLoopHasRead) {
    open();
    peer->write("SC0045\r\n");
    std::string taken;
    for (int i = 0; i < 100 && taken.size() < 8; ++i) {  // the pty hands bytes over at once
        const std::vector<std::uint8_t> bytes = port.GetInput();
        taken.append(bytes.begin(), bytes.end());
        usleep(1000);
    }
    EXPECT_EQ(taken, "SC0045\r\n");
    EXPECT_TRUE(port.GetInput().empty());
}

// A line that goes away (cable pulled, controller closed its end) is closed by the adapter
// itself and reported once: left open, it would wake the event loop without end.
TEST_F(QtCommPortTest, ALostLineIsClosedAndReportedOnce) {
    std::vector<int> lost;
    port.SetOnComm([&] {
        if (port.GetCommEvent() == CMSComm::kCommEventLineLost) {
            lost.push_back(port.GetPortOpen());
        }
    });
    open();
    peer.reset();
    test::runUntil(
        loop.app, [] { return false; }, 300);
    EXPECT_EQ(lost, std::vector<int>{false});  // closed when reported, and reported once
}

}  // namespace
}  // namespace orva
