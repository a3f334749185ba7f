#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "protocol/PortDiagnosis.h"
#include "support/Fakes.h"

namespace orva {
namespace {

namespace fs = std::filesystem;
using Failure = CMSComm::OpenFailure;

// A /proc with minicom holding COM3's device, ModemManager COM4's, and brltty running as a user
// whose open files cannot be read.
fs::path fakeProc() {
    const fs::path root = fs::temp_directory_path() / ("orva-proc-" + std::to_string(getpid()));
    fs::remove_all(root);
    const auto process = [&](int pid, const char* name, std::vector<const char*> links) {
        const fs::path dir = root / "proc" / std::to_string(pid);
        fs::create_directories(dir);
        std::ofstream(dir / "comm") << name << "\n";
        for (std::size_t fd = 0; fd < links.size(); ++fd) {
            fs::create_directories(dir / "fd");
            fs::create_directory_symlink(links[fd], dir / "fd" / std::to_string(fd));
        }
    };
    process(100, "minicom", {"/dev/pts/1", "/dev/fake3"});
    process(200, "ModemManager", {"/dev/fake4"});
    process(300, "brltty", {});
    fs::create_directories(root / "proc" / "self");
    return root;
}

TEST(PortDiagnosis, EachFailureToOpenSaysItsCauseAndRemedy) {
    const fs::path root = fakeProc();
    struct Case {
        Failure failure;
        int port;
        Language language;
        std::optional<std::string> deviceNow;  // none: the device that failed
        std::string said;
    };
    const Language en = Language::English, zh = Language::Chinese;
    const std::string brltty =
        " (brltty is running and may have taken the USB adapter: if you use no braille display, "
        "sudo apt remove brltty and plug the controller in again)";
    const Case cases[] = {
        {Failure::Permission,
         3,
         en,
         {},
         "no permission for /dev/fake3: add yourself to the dialout group with: sudo adduser "
         "$USER dialout, then log out and log in again"},
        {Failure::Permission,
         3,
         zh,
         {},
         "无权打开 /dev/fake3：请执行 sudo adduser $USER dialout 把自己加入 dialout "
         "组，然后注销并重新登录"},
        {Failure::Busy,
         3,
         en,
         {},
         "/dev/fake3 is in use by minicom (process 100): close it, then press Refresh"},
        {Failure::Busy, 3, zh, {}, "/dev/fake3 正被 minicom（进程 100）占用：请关闭它，然后按刷新"},
        {Failure::Busy,
         4,
         en,
         {},
         "/dev/fake4 is held by ModemManager, which probes new serial devices as modems: wait a "
         "few seconds and press Refresh; to stop it for good: sudo systemctl disable --now "
         "ModemManager"},
        {Failure::Busy,
         6,
         en,
         {},
         "/dev/fake6 is probably held by brltty, the braille display service: if you use no "
         "braille display, sudo apt remove brltty, then plug the controller in again"},
        {Failure::Gone,
         6,
         en,
         {},
         "/dev/fake6 does not exist: plug the controller in, then press Refresh" + brltty},
        {Failure::Gone, 6, en, "",
         "no serial device stands for COM6: plug the controller in; it shows here within a "
         "second or two" +
             brltty},
        {Failure::NoDevice, 7, en, "/dev/ttyACM0",
         "/dev/ttyACM0 is there now: press Refresh to open it"},
        {Failure::NoDevice, 7, zh, "/dev/ttyACM0", "已检测到 /dev/ttyACM0：按刷新打开它"},
        {Failure::Other, 3, en, {}, "no such device"},  // the system's words
    };
    for (const Case& c : cases) {
        test::FakePort port;
        port.commPort = c.port;
        port.failOpen = true;
        port.failure = c.failure;
        PortDiagnosis diagnosis(root.string());
        diagnosis.failed(port);
        EXPECT_EQ(diagnosis.describe(c.language, c.deviceNow.value_or(port.DeviceName())), c.said)
            << "COM" << c.port;
        diagnosis.clear();
        EXPECT_EQ(diagnosis.describe(c.language, ""), "");
    }
    fs::remove_all(root);
}

}  // namespace
}  // namespace orva
