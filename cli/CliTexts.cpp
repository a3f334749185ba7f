#include "cli/CliTexts.h"

#include <iterator>
#include <utility>

namespace orva::cli {
namespace {

struct Text {
    Msg msg;
    const char* english;
    const char* chinese;
};

constexpr Text kTexts[] = {
    {Msg::Reading, "reading the controller on {0} (time-out {1})",
     "正在读取飞控参数：{0}（超时{1}）"},
    {Msg::PortNotOpened, "cannot open {0}: {1}", "无法打开串口{0}：{1}"},
    {Msg::NoAnswer, "the controller is not answering: no answer to \"{0}\" within {1} ms",
     "飞控无应答：{1}毫秒内没有回答\"{0}\""},
    {Msg::StreamStopped,
     "the controller was still streaming live data (a monitor that did not end well): it was "
     "told to stop",
     "飞控仍在发送实时数据（上次的数据显示未正常结束）：已发送停止命令"},
    {Msg::NoWholeAnswer,
     "the controller is not answering: no whole answer to \"{0}\" within {1} ms; heard: {2}",
     "飞控无应答：{1}毫秒内没有完整回答\"{0}\"；收到：{2}"},
    {Msg::LineLost,
     "the line to the controller was lost: plug the controller in again and run the command again",
     "与飞控的连接已断开：请重新插上飞控，然后再次运行命令"},
    {Msg::NoDevice, "no serial device: plug the controller in", "没有串口设备：请插上飞控"},
    {Msg::NotRead, "not read (damaged replies): {0}", "未读到: {0}"},
    {Msg::Saved, "saved {0}", "已保存 {0}"},
    {Msg::UnknownCode, "\"{0}\" is no parameter code; `orva-cli read` lists them",
     "\"{0}\"不是参数代码；`orva-cli read`列出所有代码"},
    {Msg::ReadOnlyCode, "{0} ({1}) is read only", "{0}（{1}）只读"},
    {Msg::NotANumber, "\"{0}\" is not a number", "\"{0}\"不是数字"},
    {Msg::OutOfRange, "{0} ({1}): {2} is out of range {3} to {4}; nothing was written",
     "{0}（{1}）：{2}超出范围{3}至{4}，未写入飞控"},
    {Msg::NotTaken, "the controller did not take {0}: it reads back {1}", "飞控未接受{0}：读回{1}"},
    {Msg::BadDefaultSet, "the default set is 0, 1, 2 or 3, not \"{0}\"",
     "默认参数组为0、1、2或3，不是\"{0}\""},
    {Msg::FileUnreadable, "{0}", "{0}"},
    {Msg::ForeignLine,
     "{0}: line {1} is not as Save Data writes it; nothing was sent to the controller",
     "{0}：第{1}行与保存当前数据写出的格式不符，未向飞控发送任何参数"},
    {Msg::NoDifference, "no parameter differs", "没有不同的参数"},
    {Msg::DryRun, "dry run: nothing was written to the controller", "试运行：未向飞控写入任何参数"},
    {Msg::RestoreProgress, "restoring: {0} of {1} commands", "正在恢复：{0}/{1}"},
    {Msg::Restored, "restored {0}; every setting reads back as in the file",
     "已恢复 {0}；读回的参数与文件一致"},
    {Msg::DefaultLoaded, "default set {0} loaded", "已载入默认参数组{0}"},
    {Msg::SetDone, "{0} set to {1}", "{0}已设为{1}"},
    {Msg::MonitorStopped, "monitor stopped after {0} frames", "实时数据已停止，共{0}帧"},
    {Msg::UpgradeProgress, "upgrading [{1}] {0}%", "正在升级 [{1}] {0}%"},
    {Msg::Upgraded, "firmware upgraded; now {0}", "固件升级完成；当前版本{0}"},
    {Msg::BackupSaved, "parameters backed up to {0}", "参数已备份到{0}"},
    {Msg::BackupSkipped, "no backup: --no-backup", "未备份：--no-backup"},
    {Msg::NoBackupNotRead,
     "not every setting was read {0}, so no backup can be kept; nothing was written to the "
     "controller (Refresh and try again, or --no-backup to go on without a backup)",
     "飞控参数未全部读到{0}，无法备份；未向飞控写入任何参数（请重试，或用--no-backup不备份继续）"},
    {Msg::NoBackupNothingWritten,
     "nothing was written to the controller; --no-backup goes on without a backup",
     "未向飞控写入任何参数；--no-backup可不备份继续"},
    {Msg::SaveNotRead, "not every setting was read {0}; nothing was saved",
     "飞控参数未全部读到{0}；未保存"},
    {Msg::Converted, "saved on firmware {0}, restored on {1}: {2} converted to show as saved",
     "文件保存于固件{0}，恢复到{1}：已换算{2}"},
    {Msg::SettingsKept, "every setting shows what it showed before the upgrade",
     "升级后所有参数与升级前一致"},
    {Msg::SettingsChanged, "{0} settings show otherwise than before the upgrade (listed on stdout)",
     "{0}项参数与升级前不同（见标准输出）"},
    {Msg::NoPorts, "no serial device found", "未找到串口设备"},
    {Msg::ImpossibleStoredPort,
     "qdmcconfig.ini records port {0}, which is not one of COM1 to COM20: COM3 is used",
     "qdmcconfig.ini 记录的串口 {0} 不在 COM1 至 COM20 之内：已改用 COM3"},
    {Msg::NoUsbDevice,
     "no port named with --port or stored by the window, and no USB serial device is plugged in: "
     "plug the controller in, or name its port with --port (`orva-cli ports` lists the ports)",
     "未用--port指定串口，窗口也未记住串口，且未接入USB串口设备：请插上飞控，或用--port指定串口"
     "（`orva-cli ports`列出所有串口）"},
    {Msg::ManyUsbDevices,
     "no port named with --port or stored by the window, and {0} USB serial devices are plugged "
     "in: name the controller's with --port, e.g. --port /dev/ttyACM0",
     "未用--port指定串口，窗口也未记住串口，且接入了{0}个USB串口设备：请用--port指定飞控的串口，"
     "例如--port /dev/ttyACM0"},
    {Msg::OutputFailed, "cannot write the results to standard output: {0}",
     "无法把结果写到标准输出：{0}"},
    {Msg::HalfWritten,
     "stopping now leaves the controller half-written ({0}); press Ctrl-C again to stop anyway",
     "现在停止会使飞控只写入了一部分（{0}）；再按一次Ctrl-C强行停止"},
    {Msg::Stopped, "stopped: {0}; the controller is half-written",
     "已停止：{0}；飞控只写入了一部分"},
    {Msg::RestoreWhere, "{0} of {1} commands of the restore sent", "恢复命令已发送{0}/{1}"},
    {Msg::DefaultWhere, "default set {0} asked for, not read back",
     "已要求载入默认参数组{0}，尚未读回"},
    {Msg::FlashWhere, "upgrade packet {0} of {1} sent ({2}%), the controller waits in its loader",
     "升级数据包已发送{0}/{1}（{2}%），飞控停在升级程序中"},
    {Msg::PutBackupBack, "to put the backup back: {0}", "恢复备份的命令：{0}"},
    {Msg::FinishUpgrade, "to upgrade again: {0}", "重新升级的命令：{0}"},
    {Msg::NoBackupKept, "no backup was kept (--no-backup or no read-back)",
     "没有备份（--no-backup或未读回参数）"},
};

// The window's remedies and what a command line does instead.
constexpr std::pair<const char*, const char*> kCliWords[] = {
    {"press Refresh", "run the command again"},
    {"按刷新", "重新运行命令"},
};

}  // namespace

std::string inCliWords(std::string text) {
    for (const auto& [window, cli] : kCliWords) {
        const std::string from = window;
        for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
            text.replace(at, from.size(), cli);
        }
    }
    return text;
}

std::string say(Msg msg, Language language, std::initializer_list<std::string> args) {
    std::string text;
    for (const Text& t : kTexts) {
        if (t.msg == msg) {
            text = language == Language::English ? t.english : t.chinese;
        }
    }
    int index = 0;
    for (const std::string& arg : args) {
        const std::string mark = "{" + std::to_string(index++) + "}";
        for (auto at = text.find(mark); at != std::string::npos;
             at = text.find(mark, at + arg.size())) {
            text.replace(at, mark.size(), arg);
        }
    }
    return text;
}

}  // namespace orva::cli
