#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "protocol/PortDiagnosis.h"
#include "support/Fakes.h"

namespace orva {
namespace {

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
