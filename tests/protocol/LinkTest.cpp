#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "model/ControlIds.h"
#include "protocol/Frames.h"
#include "protocol/Link.h"
#include "protocol/PortDiagnosis.h"
#include "support/Fakes.h"

namespace orva {
namespace {

// Every sender's bytes are checked in its own tests; only a restored file can go past 9999.
TEST(Frames, SetCommandsCarryTheValueModulo10000) {
    EXPECT_EQ(frames::set('Q', 10130), "SQ0130\r");
}

class LinkTest : public ::testing::Test {
  protected:
    test::FakeClock clock;
    test::FakePort port;
    test::MemoryFiles files;
    ConfigFile config{files};
    WindowModel model;
    LanguageFlag language;
    Link link{port, clock, config, model, language};
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

TEST_F(LinkTest, TwoSecondsWithoutAWholeAnswerAreSaidBesideThePortListAsSilenceOrAsNoise) {
    const ControlKey device = ids::main::kPortDevice;
    const std::string quiet = "飞控已2秒无应答：请检查连线和串口，然后按刷新  COM0 = /dev/fake0";
    const std::string noise =
        "飞控2秒内只发来无法识别的数据：请检查串口速率和连线，然后按刷新  COM0 = /dev/fake0";
    link.checkQuiet();  // nothing sent, or sent to a closed port: nothing to say
    link.sendQuery('V');
    link.checkQuiet();
    clock.now += 5000;
    link.checkQuiet();
    EXPECT_EQ(model.text(device), "");
    port.isOpen = true;
    link.sendQuery('V');
    link.checkQuiet();  // the quiet period starts at the first look after the write
    clock.now += 1990;
    link.checkQuiet();
    EXPECT_EQ(model.text(device), "");
    clock.now += 10;
    link.checkQuiet();
    EXPECT_EQ(model.text(device), quiet);
    EXPECT_EQ(port.written, "?V\r?V\r");  // nothing more is sent
    port.receive("?V\r 12");              // bytes, but no whole answer yet
    EXPECT_EQ(model.text(device), noise);
    EXPECT_EQ(link.heardSinceAnswer(), "?V\r 12");
    port.receive("20\r\n");
    EXPECT_EQ(model.text(device), "COM0 = /dev/fake0");
    EXPECT_EQ(link.heardSinceAnswer(), "");

    // A controller that talks without ever completing an answer is no answer either.
    link.sendQuery('C');
    link.checkQuiet();
    for (int i = 0; i < 25; ++i) {
        clock.now += 100;
        port.receive("\x7f");
        link.checkQuiet();
    }
    EXPECT_EQ(model.text(device), noise);
    link.sendQuery('C');
    link.checkQuiet();
    clock.now += 2000;
    link.checkQuiet();
    port.event = CMSComm::kCommEventLineLost;  // a lost line is said as such, not as silence
    port.receive("");
    EXPECT_EQ(model.text(device), "连接已断开：请重新插上飞控，然后按刷新  COM0 = /dev/fake0");
    EXPECT_EQ(std::pair(port.isOpen, model.text(ids::main::kStatus)),
              std::pair(false, std::string("串口未打开")));
    language.set(Language::English);
    link.showStatus();
    EXPECT_EQ(model.text(device),
              "line lost: plug the controller in again and press Refresh  COM0 = /dev/fake0");
    port.event = CMSComm::kCommEventReceive;
    link.restart(RestartKind::Combo);  // opened again: nothing more to say
    EXPECT_EQ(model.text(device), "COM1 = /dev/fake1");
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
    EXPECT_EQ(model.text(ids::main::kPortDevice),
              "飞控仍在发送实时数据：已发送停止命令  COM0 = /dev/fake0");
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

TEST_F(LinkTest, TheDeviceLabelFollowsDevicesPluggedInAndPulledOutWithoutTouchingTheLine) {
    port.failOpen = true;
    port.failure = CMSComm::OpenFailure::NoDevice;
    port.device = "";
    link.restart(RestartKind::Combo);
    port.device = "/dev/ttyACM0";  // plugged in
    link.followDevices();
    EXPECT_EQ(model.text(ids::main::kPortDevice),
              "已检测到 /dev/ttyACM0：按刷新打开它  COM1 = /dev/ttyACM0");
    port.device = "";  // pulled out again
    link.followDevices();
    EXPECT_EQ(model.text(ids::main::kPortDevice),
              "COM1 没有对应的串口设备：请插上飞控，设备会在一两秒内显示在这里  COM1 = ?");
    EXPECT_EQ(port.opens, 1);
    EXPECT_EQ(port.written, "");  // no read-back wired here, and nothing from the plug-in
}

TEST_F(LinkTest, AMissingDeviceNamedOutrightIsSeenWhenItAppearsUnderTheSameName) {
    // ORVA_COM1 names a path that stays the same whether the device is there or not.
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("orva-appear-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string kivrel = (folder / "kivrel").string();
    port.failOpen = true;
    port.failure = CMSComm::OpenFailure::Gone;
    port.device = kivrel;
    link.restart(RestartKind::Combo);
    EXPECT_EQ(model.text(ids::main::kPortDevice),
              kivrel + " 不存在：请插上飞控，然后按刷新  COM1 = " + kivrel);
    std::ofstream(folder / "kivrel").put('\n');
    link.followDevices();
    EXPECT_EQ(model.text(ids::main::kPortDevice),
              "已检测到 " + kivrel + "：按刷新打开它  COM1 = " + kivrel);
    std::filesystem::remove_all(folder);
    link.followDevices();
    EXPECT_EQ(model.text(ids::main::kPortDevice),
              kivrel + " 不存在：请插上飞控，然后按刷新  COM1 = " + kivrel);
    EXPECT_EQ(port.opens, 1);
}

namespace fs = std::filesystem;
using Failure = CMSComm::OpenFailure;

TEST(PortDiagnosis, EachFailureToOpenSaysItsCauseAndRemedy) {
    // A /proc where minicom holds COM3's device and ModemManager COM4's, and brltty runs with
    // open files this user may not read.
    const fs::path root = fs::temp_directory_path() / ("orva-proc-" + std::to_string(getpid()));
    for (auto [pid, name, device] : {std::tuple{100, "minicom", "/dev/fake3"},
                                     {200, "ModemManager", "/dev/fake4"},
                                     {300, "brltty", ""}}) {
        const fs::path dir = root / "proc" / std::to_string(pid);
        fs::create_directories(*device ? dir / "fd" : dir);
        std::ofstream(dir / "comm") << name << "\n";
        if (*device) {
            fs::create_symlink(device, dir / "fd" / "4");
        }
    }
    // Each failure, the port number that failed, the language, and what is said.
    const std::tuple<Failure, int, Language, std::string> cases[] = {
        {Failure::Permission, 3, Language::English,
         "no permission for /dev/fake3: add yourself to the dialout group with: sudo adduser "
         "$USER dialout, then log out and log in again"},
        {Failure::Busy, 3, Language::English,
         "/dev/fake3 is in use by minicom (process 100): close it, then press Refresh"},
        {Failure::Busy, 3, Language::Chinese,
         "/dev/fake3 正被 minicom（进程 100）占用：请关闭它，然后按刷新"},
        {Failure::Busy, 4, Language::English,
         "/dev/fake4 is held by ModemManager, which probes new serial devices as modems: wait a "
         "few seconds and press Refresh; to stop it for good: sudo systemctl disable --now "
         "ModemManager"},
        {Failure::Busy, 6, Language::English,
         "/dev/fake6 is probably held by brltty, the braille display service: if you use no "
         "braille display, sudo apt remove brltty, then plug the controller in again"},
        {Failure::Gone, 6, Language::English,
         "/dev/fake6 does not exist: plug the controller in, then press Refresh (brltty is "
         "running and may have taken the USB adapter: if you use no braille display, sudo apt "
         "remove brltty and plug the controller in again)"},
    };
    for (const auto& [failure, number, language, said] : cases) {
        test::FakePort port;
        port.commPort = number;
        port.failOpen = true;
        port.failure = failure;
        PortDiagnosis diagnosis(root.string());
        diagnosis.failed(port);
        EXPECT_EQ(diagnosis.describe(language, port.DeviceName()), said) << "COM" << number;
        diagnosis.clear();
        EXPECT_EQ(diagnosis.describe(language, port.DeviceName()), "");
    }
    fs::remove_all(root);
}

}  // namespace
}  // namespace orva
