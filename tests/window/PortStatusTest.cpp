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

namespace fs = std::filesystem;
using Failure = CMSComm::OpenFailure;

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
    const auto after = [&](std::uint64_t ms) {
        clock.now += ms;
        link.checkQuiet();
        return model.text(device);
    };
    link.checkQuiet();  // nothing sent, or sent to a closed port: nothing to say
    link.sendQuery('V');
    link.checkQuiet();
    EXPECT_EQ(after(5000), "");
    port.isOpen = true;
    link.sendQuery('V');
    link.checkQuiet();  // the quiet period starts at the first look after the write
    EXPECT_EQ(after(1990), "");
    EXPECT_EQ(after(10), quiet);
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
        port.receive("\x7f");
        after(100);
    }
    EXPECT_EQ(model.text(device), noise);
    link.sendQuery('C');
    link.checkQuiet();
    after(2000);
    port.event = CMSComm::kCommEventLineLost;  // a lost line is said as such, not as silence
    port.receive("");
    EXPECT_EQ(model.text(device), "连接已断开：请重新插上飞控，然后按刷新  COM0 = /dev/fake0");
    EXPECT_EQ(model.text(ids::main::kStatus), "串口未打开");
    language.set(Language::English);
    status.show();
    EXPECT_EQ(model.text(device),
              "line lost: plug the controller in again and press Refresh  COM0 = /dev/fake0");
    port.event = CMSComm::kCommEventReceive;
    link.restart(RestartKind::Combo);  // opened again: nothing more to say
    EXPECT_EQ(model.text(device), "COM1 = /dev/fake1");
    language.set(Language::Chinese);
    port.receive("CHDA15001500150015001500150015001500\r\n");  // streaming outside the monitor
    EXPECT_EQ(model.text(device), "飞控仍在发送实时数据：已发送停止命令  COM1 = /dev/fake1");
}

// The port stays shut while what its number stands for changes: the label follows, the line is
// not touched. A device named outright (ORVA_COM1) keeps its path whether it is there or not.
TEST_F(PortStatusTest, TheDeviceLabelFollowsDevicesPluggedInAndPulledOutWithoutTouchingTheLine) {
    const fs::path folder = fs::temp_directory_path() / ("orva-appear-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const std::string kivrel = (folder / "kivrel").string();
    const auto follow = [&](const std::string& device) {
        port.device = device;
        status.followDevices();
        return model.text(ids::main::kPortDevice);
    };
    port.failOpen = true;
    port.failure = Failure::NoDevice;
    port.device = "";
    link.restart(RestartKind::Combo);
    EXPECT_EQ(follow("/dev/ttyACM0"), "已检测到 /dev/ttyACM0：按刷新打开它  COM1 = /dev/ttyACM0");
    EXPECT_EQ(follow(""),
              "COM1 没有对应的串口设备：请插上飞控，设备会在一两秒内显示在这里  COM1 = ?");
    port.failure = Failure::Gone;
    port.device = kivrel;
    link.restart(RestartKind::Combo);
    EXPECT_EQ(model.text(ids::main::kPortDevice),
              kivrel + " 不存在：请插上飞控，然后按刷新  COM1 = " + kivrel);
    std::ofstream(folder / "kivrel").put('\n');
    EXPECT_EQ(follow(kivrel), "已检测到 " + kivrel + "：按刷新打开它  COM1 = " + kivrel);
    fs::remove_all(folder);
    EXPECT_EQ(follow(kivrel), kivrel + " 不存在：请插上飞控，然后按刷新  COM1 = " + kivrel);
    EXPECT_EQ(std::pair(port.opens, port.written), std::pair(2, std::string()));
}

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
