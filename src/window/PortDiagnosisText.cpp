#include "window/PortDiagnosisText.h"

namespace orva {
namespace {

using Failure = CMSComm::OpenFailure;

std::string busy(const PortDiagnosis& diagnosis, Language language) {
    if (diagnosis.holders().empty()) {
        return diagnosis.device() +
               pick(language, " 正被其他程序占用：请关闭该程序，然后按刷新",
                    " is in use by another program: close it, then press Refresh");
    }
    const DeviceHolder& holder = diagnosis.holders().front();
    const std::string by = diagnosis.device() +
                           (holder.certain ? pick(language, " 正被 ", " is held by ")
                                           : pick(language, " 可能正被 ", " is probably held by "));
    if (holder.name == "ModemManager") {
        return by + pick(language,
                         "ModemManager 占用（它把新串口当作调制解调器探测）：请稍等几秒再按刷新；"
                         "要永久停止它：sudo systemctl disable --now ModemManager",
                         "ModemManager, which probes new serial devices as modems: wait a few "
                         "seconds and press Refresh; to stop it for good: sudo systemctl disable "
                         "--now ModemManager");
    }
    if (holder.name == "brltty") {
        return by + pick(language,
                         "盲文显示服务 brltty 占用：如不使用盲文显示器，请执行 sudo apt remove "
                         "brltty，然后重新插上飞控",
                         "brltty, the braille display service: if you use no braille display, "
                         "sudo apt remove brltty, then plug the controller in again");
    }
    const std::string pid = std::to_string(holder.pid);
    return language == Language::English
               ? diagnosis.device() + " is in use by " + holder.name + " (process " + pid +
                     "): close it, then press Refresh"
               : diagnosis.device() + " 正被 " + holder.name + "（进程 " + pid +
                     "）占用：请关闭它，然后按刷新";
}

std::string brlttyHint(const PortDiagnosis& diagnosis, Language language) {
    if (!diagnosis.brlttyRuns()) {
        return {};
    }
    return pick(language,
                "（brltty 正在运行，可能占用了 USB 转串口：如不使用盲文显示器，请执行 sudo apt "
                "remove brltty 后重新插上飞控）",
                " (brltty is running and may have taken the USB adapter: if you use no braille "
                "display, sudo apt remove brltty and plug the controller in again)");
}

}  // namespace

std::string describePort(const PortDiagnosis& diagnosis, Language language,
                         const std::string& deviceNow) {
    const std::string com = "COM" + std::to_string(diagnosis.port());
    if (diagnosis.lineLost()) {
        return pick(language, "连接已断开：请重新插上飞控，然后按刷新",
                    "line lost: plug the controller in again and press Refresh");
    }
    if (diagnosis.failure() == Failure::None) {
        return {};
    }
    if ((deviceNow != diagnosis.device() && !deviceNow.empty()) || diagnosis.appeared(deviceNow)) {
        return pick(language, "已检测到 ", "") + deviceNow +
               pick(language, "：按刷新打开它", " is there now: press Refresh to open it");
    }
    if (deviceNow.empty() &&
        (diagnosis.failure() == Failure::NoDevice || deviceNow != diagnosis.device())) {
        return pick(language, "", "no serial device stands for ") + com +
               pick(language, " 没有对应的串口设备：请插上飞控，设备会在一两秒内显示在这里",
                    ": plug the controller in; it shows here within a second or two") +
               brlttyHint(diagnosis, language);
    }
    switch (diagnosis.failure()) {
        case Failure::Gone:
            return diagnosis.device() +
                   pick(language, " 不存在：请插上飞控，然后按刷新",
                        " does not exist: plug the controller in, then press Refresh") +
                   brlttyHint(diagnosis, language);
        case Failure::Permission:
            return pick(language, "无权打开 ", "no permission for ") + diagnosis.device() +
                   pick(language,
                        "：请执行 sudo adduser $USER dialout 把自己加入 dialout 组，"
                        "然后注销并重新登录",
                        ": add yourself to the dialout group with: sudo adduser $USER dialout, "
                        "then log out and log in again");
        case Failure::Busy:
            return busy(diagnosis, language);
        default:
            // The serial layer's own words are English; the Chinese form says what failed first.
            return pick(language, "无法打开串口：", "") + diagnosis.systemText();
    }
}

}  // namespace orva
