#include <gtest/gtest.h>

#include <QCoreApplication>

#include "qtserial/QtCommPort.h"
#include "support/PtyPeer.h"
#include "support/SimulatorLine.h"

namespace orva {
namespace {

TEST(QtCommPort, TalksToAPseudoTerminal) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name};
    QCoreApplication app(argc, argv);

    test::PtyPeer peer;
    QtCommPort port(test::comTo(peer.slave()));
    std::vector<std::uint8_t> received;
    port.SetOnComm([&] {
        EXPECT_EQ(port.GetCommEvent(), CMSComm::kCommEventReceive);
        auto bytes = port.GetInput();
        received.insert(received.end(), bytes.begin(), bytes.end());
    });

    port.SetCommPort(4);  // nothing stands for COM4
    EXPECT_FALSE(port.SetPortOpen(true));
    EXPECT_NE(port.LastError().find("COM4"), std::string::npos);

    port.SetCommPort(3);
    EXPECT_EQ(port.DeviceName(), peer.slave());
    port.SetInBufferSize(1024);
    ASSERT_TRUE(port.SetPortOpen(true)) << port.LastError();
    port.SetSettings("115200,n,8,1");
    port.SetInputMode(CMSComm::InputMode::Binary);
    port.SetRThreshold(1);
    port.SetInputLen(0);
    port.SetHandshaking(CMSComm::Handshaking::None);
    EXPECT_TRUE(port.GetPortOpen());

    port.SetOutput(std::string_view("?V\r\0S", 5));  // binary-safe, nothing added
    EXPECT_EQ(peer.read(5, std::chrono::seconds(2)), std::string("?V\r\0S", 5));

    const std::string reply(
        "?V\r\0"
        "1220\r\n",
        10);
    peer.write(reply);
    test::runUntil(
        app, [&] { return received.size() >= reply.size(); }, 2000);
    EXPECT_EQ(std::string(received.begin(), received.end()), reply);

    port.SetPortOpen(false);
    EXPECT_FALSE(port.GetPortOpen());
    EXPECT_TRUE(port.GetInput().empty());
}

}  // namespace
}  // namespace orva
