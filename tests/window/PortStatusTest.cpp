#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "model/ControlIds.h"
#include "support/Fakes.h"
#include "window/PortDiagnosisText.h"
#include "window/PortStatus.h"

namespace orva {
namespace {

// The link, the port choice and the words beside the port list, wired as in the window.
class PortStatusTest : public ::testing::Test {
  protected:
    PortStatusTest() {
        link.setListener([this](LineEvent event) { status.on(event); });
        record.setListener([this] { status.show(); });
    }

    test::FakeClock clock;
    test::FakePort port;
    test::MemoryFiles files;
    ConfigFile config{files};
    WindowModel model;
    LanguageFlag language;
    PortRecord record{config, model, language};
    Link link{port, clock, record};
    PortStatus status{link, record, model, language};
};

TEST_F(PortStatusTest, TwoSecondsWithoutAWholeAnswerAreSaidBesideThePortListAsSilenceOrAsNoise) {
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
    EXPECT_EQ(model.text(ids::main::kStatus), "串口未打开");
    language.set(Language::English);
    status.show();
    EXPECT_EQ(model.text(device),
              "line lost: plug the controller in again and press Refresh  COM0 = /dev/fake0");
    port.event = CMSComm::kCommEventReceive;
    link.restartFromCombo();  // opened again: nothing more to say
    EXPECT_EQ(model.text(device), "COM1 = /dev/fake1");
    language.set(Language::Chinese);
    port.receive("CHDA15001500150015001500150015001500\r\n");  // streaming outside the monitor
    EXPECT_EQ(model.text(device), "飞控仍在发送实时数据：已发送停止命令  COM1 = /dev/fake1");
}

TEST_F(PortStatusTest, TheDeviceLabelFollowsDevicesPluggedInAndPulledOutWithoutTouchingTheLine) {
    port.failOpen = true;
    port.failure = CMSComm::OpenFailure::NoDevice;
    port.device = "";
    link.restartFromCombo();
    port.device = "/dev/ttyACM0";  // plugged in
    status.followDevices();
    EXPECT_EQ(model.text(ids::main::kPortDevice),
              "已检测到 /dev/ttyACM0：按刷新打开它  COM1 = /dev/ttyACM0");
    port.device = "";  // pulled out again
    status.followDevices();
    EXPECT_EQ(model.text(ids::main::kPortDevice),
              "COM1 没有对应的串口设备：请插上飞控，设备会在一两秒内显示在这里  COM1 = ?");
    EXPECT_EQ(port.opens, 1);
    EXPECT_EQ(port.written, "");  // no read-back wired here, and nothing from the plug-in
}

TEST_F(PortStatusTest, AMissingDeviceNamedOutrightIsSeenWhenItAppearsUnderTheSameName) {
    // ORVA_COM1 names a path that stays the same whether the device is there or not.
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("orva-appear-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string kivrel = (folder / "kivrel").string();
    port.failOpen = true;
    port.failure = CMSComm::OpenFailure::Gone;
    port.device = kivrel;
    link.restartFromCombo();
    EXPECT_EQ(model.text(ids::main::kPortDevice),
              kivrel + " 不存在：请插上飞控，然后按刷新  COM1 = " + kivrel);
    std::ofstream(folder / "kivrel").put('\n');
    status.followDevices();
    EXPECT_EQ(model.text(ids::main::kPortDevice),
              "已检测到 " + kivrel + "：按刷新打开它  COM1 = " + kivrel);
    std::filesystem::remove_all(folder);
    status.followDevices();
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
        EXPECT_EQ(describePort(diagnosis, language, port.DeviceName()), said) << "COM" << number;
        diagnosis.clear();
        EXPECT_EQ(describePort(diagnosis, language, port.DeviceName()), "");
    }
    fs::remove_all(root);
}

}  // namespace
}  // namespace orva
