#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "cli/CliOptions.h"
#include "cli/CliTexts.h"
#include "cli/ParameterRow.h"
#include "cli/PortChoice.h"
#include "cli/Report.h"
#include "cli/WatchedPort.h"
#include "support/Fakes.h"

namespace orva::cli {
namespace {

// What a command line asks for, or the start of what is wrong with it.
TEST(CliOptions, CommandLinesAreCheckedBeforeAnythingRuns) {
    using O = CliOptions::Outcome;
    struct Case {
        std::vector<std::string> argv;
        O outcome;
        std::string error;  // or the command's operands, joined by '|'
    };
    const Case cases[] = {
        {{"--port", "COM4", "read", "--json"}, O::Run, ""},
        {{"set", "^", "-30", "--timeout=250"}, O::Run, "^|-30"},
        {{"diff", "a.txt", "b.txt", "-q"}, O::Run, "a.txt|b.txt"},
        {{"save", "-", "--port=COM4"}, O::Run, "-"},
        {{"restore", "--", "-q"}, O::Run, "-q"},
        {{"read", "--help"}, O::Help, ""},
        {{"-h"}, O::Help, ""},
        {{}, O::Error, "no command given"},
        {{"erase"}, O::Error, "unknown command erase"},
        {{"set", "C"}, O::Error, "wrong number of operands for set"},
        {{"read", "--colour"}, O::Error, "Unknown option 'colour'"},
        {{"read", "--timeout"}, O::Error, "Missing value after '--timeout'"},
        {{"read", "--timeout", "0"}, O::Error, "--timeout wants"},
        {{"monitor", "--count", "x"}, O::Error, "--count wants"},
        {{"read", "--lang", "de"}, O::Error, "--lang is en or zh"},
        {{"restore", "a.txt", "--saved-on", "12110"}, O::Error, "--saved-on wants"},
        {{"flash", "k.bin", "--keep-settings", "--no-backup"},
         O::Error,
         "--keep-settings restores"},
    };
    for (const Case& c : cases) {
        const CliOptions::Parsed p = CliOptions::parse(c.argv);
        EXPECT_EQ(p.outcome, c.outcome) << c.argv.size();
        if (c.outcome == O::Error) {
            EXPECT_TRUE(p.error.starts_with(c.error)) << p.error;
        } else if (c.outcome == O::Run) {
            std::string operands;
            for (const std::string& a : p.options.args) {
                operands += (operands.empty() ? "" : "|") + a;
            }
            EXPECT_EQ(operands, c.error);
        }
    }
    const CliOptions o = CliOptions::parse({"-q", "--port", "COM4", "set", "^", "-30",
                                            "--timeout=250", "--lang", "zh"})
                             .options;
    EXPECT_EQ(o.command, Command::Set);
    EXPECT_EQ(o.port, "COM4");
    EXPECT_EQ(o.timeoutMs, 250);
    EXPECT_TRUE(o.quiet);
    EXPECT_EQ(o.language, Language::Chinese);
    const CliOptions flash = CliOptions::parse({"flash", "k.bin", "--keep-settings"}).options;
    EXPECT_TRUE(flash.keepSettings && flash.backup);
    EXPECT_EQ(CliOptions::parse({"restore", "a.txt", "--saved-on=0999"}).options.savedOn, 999);
    // What a script gets without options.
    const CliOptions plain = CliOptions::parse({"read"}).options;
    EXPECT_EQ(plain.timeoutMs, 3000);
    EXPECT_EQ(plain.port, "");
    EXPECT_EQ(plain.count, 0);
    EXPECT_EQ(plain.language, Language::English);
    EXPECT_EQ(CliOptions::parse({"read"}, "zh_CN.UTF-8").options.language, Language::Chinese);
    EXPECT_EQ(CliOptions::parse({"read", "--lang=en"}, "zh_TW").options.language,
              Language::English);
    EXPECT_TRUE(plain.backup && !plain.json && !plain.quiet && !plain.dryRun &&
                !plain.keepSettings);
    EXPECT_EQ(plain.savedOn, std::nullopt);
}

// A read value as `read` shows it: lists by index and the item's text in a last column (or
// "item" in JSON), check boxes as bits, the packed delay with its box as bit 4, else the number.
TEST(ParameterRow, ReadValuesShowAsTheWindowShowsThem) {
    const std::vector<ParameterRow> rows = {
        ParameterRow::of('A', 16, 1220),   ParameterRow::of('P', 3, 1220),
        ParameterRow::of('B', 99, 1220),   ParameterRow::of('C', 55, 1220),
        ParameterRow::of('a', 4095, 1220), ParameterRow::of('<', 21, 1220),
        ParameterRow::of('^', 70, 1220),   ParameterRow::of('L', std::nullopt, 1220)};
    std::ostringstream text;
    report::parameters(text, "1.220", rows, false);
    EXPECT_EQ(text.str(),
              "firmware\t1.220\n"
              "A\tMultiAxilMod\t多轴模式\t15\t16\t16. IRRET_SHAPE\n"
              "P\tServo Rate\t舵机输出模式\t1\t3\t2. 270Hz Servo(舵机)\n"
              "B\tESCUpdateRate\t电调输出模式\t-\t99\t-\n"
              "C\tStabili_Level\t主稳定度\t55\t55\n"
              "a\tAutoStabi\t自稳\t4095\t4095\n"
              "<\tPowerOff Delay\t自动关机延时\t21\t21\n"
              "^\tRoll Servo Mid\t横滚舵机中点\t-30\t70\n"
              "L\tAlarm Voltage\t报警电压设置\t-\t-\n");
    std::ostringstream json;
    report::parameters(json, "1.220", {rows[0], rows[2]}, true);
    EXPECT_EQ(json.str(),
              "{\"firmware\":\"1.220\",\"parameters\":["
              "{\"code\":\"A\",\"english\":\"MultiAxilMod\",\"chinese\":\"多轴模式\","
              "\"shown\":15,\"wire\":16,\"item\":\"16. IRRET_SHAPE\"},"
              "{\"code\":\"B\",\"english\":\"ESCUpdateRate\",\"chinese\":\"电调输出模式\","
              "\"shown\":null,\"wire\":99,\"item\":null}]}\n");
}

// No --port and no port stored by the window: the one USB serial device, or a list and a hint.
TEST(PortChoice, WithoutANamedPortTheOneUsbDeviceIsTaken) {
    const auto here = std::filesystem::current_path();
    char folder[] = "/tmp/orva-XXXXXX";
    std::filesystem::current_path(mkdtemp(folder));  // no qdmcconfig.ini
    const UsbDevice acm{"/dev/ttyACM7", "Halvane Kivrel"};
    const UsbDevice ftdi{"/dev/ttyUSB0", "FTDI FT232R"};
    std::string error;
    const auto one = PortChoice::from("", error, {acm});
    ASSERT_TRUE(one.has_value());
    EXPECT_EQ(one->argument, "/dev/ttyACM7");
    EXPECT_EQ(one->resolver.deviceFor(one->com), "/dev/ttyACM7");
    EXPECT_FALSE(PortChoice::from("", error, {acm, ftdi}));
    EXPECT_TRUE(error.ends_with("\n  /dev/ttyACM7  Halvane Kivrel\n  /dev/ttyUSB0  FTDI FT232R"));
    EXPECT_FALSE(PortChoice::from("", error, {}));
    EXPECT_NE(error.find("plug the controller in"), std::string::npos);
    // A port the window stored wins over the USB list; one the window's list does not hold is
    // COM3, as in the window, and kept so that it can be said.
    const std::tuple<std::string, int, std::optional<int>> stored[] = {
        {"5", 5, std::nullopt}, {"12", 12, std::nullopt}, {"-5", 3, -5}, {"21", 3, 21}};
    for (const auto& [record, com, impossible] : stored) {
        std::ofstream("qdmcconfig.ini", std::ios::trunc) << record;
        const auto choice = PortChoice::from("", error, {acm});
        ASSERT_TRUE(choice) << record;
        EXPECT_EQ(std::tuple(choice->argument, choice->com, choice->impossibleStored),
                  std::tuple("COM" + std::to_string(com), com, impossible));
    }
    std::filesystem::remove_all(std::filesystem::current_path());
    std::filesystem::current_path(here);
}

// The core's remedies name the window's button; a terminal has the command instead.
TEST(CliTexts, WindowRemediesBecomeTheCommandsOwn) {
    EXPECT_EQ(inCliWords("close it, then press Refresh / 请关闭该程序，然后按刷新"),
              "close it, then run the command again / 请关闭该程序，然后重新运行命令");
}

TEST(WatchedPort, NamesTheLastCommand) {
    test::FakePort fake;
    WatchedPort port(fake);
    port.SetOutput("?C\r");
    EXPECT_EQ(port.lastCommand(), "?C");
    port.SetOutput(std::string("\xA5\x01\x00\x00", 4));
    EXPECT_EQ(port.lastCommand(), "upgrade packet");
    EXPECT_EQ(port.writesStartingWith('?'), 1);
}

}  // namespace
}  // namespace orva::cli
