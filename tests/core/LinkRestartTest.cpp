#include "support/CoreHarness.h"

namespace orva {
namespace {

using namespace std::string_literals;

// The core before start-up, with the configuration file as each test leaves it.
class LinkRestartTest : public test::CoreHarness {
  protected:
    void SetUp() override {}
    std::string& config() { return files.content["qdmcconfig.ini"]; }
};

TEST_F(LinkRestartTest, WithNoFileTheFileVariantOpensCom3AndSetsTheLineUp) {
    core.initialise();  // no file yet: COM3
    EXPECT_EQ(port.commPort, 3);
    EXPECT_EQ(model().value(ids::main::kPortCombo), 2);
    EXPECT_EQ(config(), "3\0"s);
    EXPECT_EQ(text(ids::main::kStatus), "串口已打开");
    EXPECT_EQ(std::tuple(port.settings, port.inBufferSize + port.outBufferSize, port.inputMode,
                         port.threshold, port.inputLen, port.handshaking),
              std::tuple("115200,n,8,1"s, 2048, CMSComm::InputMode::Binary, 1, 0,
                         CMSComm::Handshaking::None));
    EXPECT_EQ(port.takeWritten(), "?V\r");
}

// How an exchange ends when its front end stops waiting: the command left without an answer,
// or the line gone.
TEST_F(LinkRestartTest, AnExchangeLeftWithoutAnswerNamesItsCommandOrTheLostLine) {
    core.initialise();
    EXPECT_EQ(core.unanswered(Exchange::Readback),
              (ExchangeResult{Exchange::Readback, Outcome::NotAnswering, Refusal::None, "?V"}));
    answer('V', "1220");
    EXPECT_EQ(core.unanswered(Exchange::Set).detail, "?C");
    port.isOpen = false;  // the cable pulled
    EXPECT_EQ(core.unanswered(Exchange::Restore),
              (ExchangeResult{Exchange::Restore, Outcome::LineLost}));
}

TEST_F(LinkRestartTest, VariantsDifferInWhatTheyReset) {
    core.initialise();
    answer('V', "1220");
    answer('C', "0000");  // the retry counter at 2
    core.link().enter(ProtocolMode::Monitor);
    port.receive("half a rep");
    model().setEnabled(ids::main::kUpgrade, true);
    store().set(2, 4);
    const int opens = port.opens, closes = port.closes;
    select(ids::main::kPortCombo, 2);  // the port already open: closed and opened again
    EXPECT_EQ(port.opens - opens + port.closes - closes, 2);
    EXPECT_EQ(mode(), ProtocolMode::Idle);
    EXPECT_TRUE(core.link().waitingText().empty());
    EXPECT_EQ(core.readback().retries(), 3);
    EXPECT_EQ(core.readback().firmwareVersion(), 1220);  // the combo variant keeps these
    EXPECT_TRUE(enabled(ids::main::kUpgrade));
    EXPECT_EQ(store().get(2), 4);
    click(ids::main::kRefresh);
    EXPECT_EQ(core.readback().firmwareVersion(), 0);
    EXPECT_EQ(store().get(2), 1);  // the servo rate's first entry
}

TEST_F(LinkRestartTest, FailuresToOpenOrToCloseOrToUseTheFile) {
    port.failOpen = true;
    config() = "7";
    core.initialise();
    EXPECT_EQ(text(ids::main::kStatus), "串口未打开");
    EXPECT_EQ(config(), "7\0"s);  // recorded all the same
    EXPECT_NE(text(ids::main::kPortDevice).find("no such device"), std::string::npos);
    click(ids::main::kLanguage);
    select(ids::main::kPortCombo, 15);
    EXPECT_EQ(config(), "16");
    EXPECT_EQ(text(ids::main::kStatus), "COM Not Opened");
    port.failOpen = false;
    click(ids::main::kRefresh);
    EXPECT_EQ(text(ids::main::kStatus), "COM Opened");
    EXPECT_EQ(port.takeWritten(), "?V\r?V\r?V\r");

    port.stuckOpen = true;
    config() = "3\0tail"s;
    model().setText(ids::main::kStatus, "as before");
    select(ids::main::kPortCombo, 8);  // combo variant: status and file untouched
    EXPECT_EQ(text(ids::main::kStatus), "as before");
    click(ids::main::kRefresh);  // file variant: reported as not opened, file untouched
    EXPECT_EQ(text(ids::main::kStatus), "COM Not Opened");
    EXPECT_EQ(config(), "3\0tail"s);
    EXPECT_EQ(port.takeWritten(), "?V\r?V\r");

    // A file that cannot be used stops nothing: the list's port opens and is asked, and the
    // label beside the list says the choice is not kept; no box on every restart.
    port.stuckOpen = false;
    files.failing["qdmcconfig.ini"] = "\"qdmcconfig.ini\": Read-only file system";
    select(ids::main::kPortCombo, 0);
    click(ids::main::kRefresh);
    EXPECT_EQ(std::tuple(port.commPort, text(ids::main::kStatus), port.takeWritten()),
              std::tuple(1, "COM Opened"s, "?V\r?V\r"s));
    EXPECT_EQ(text(ids::main::kPortDevice),
              "The port choice will not be remembered (\"qdmcconfig.ini\": Read-only file "
              "system)  COM1 = /dev/fake1");
    EXPECT_TRUE(prompts.shown.empty());
    files.failing.clear();
    click(ids::main::kRefresh);
    EXPECT_EQ(text(ids::main::kPortDevice).find("remembered"), std::string::npos);

    // The port is the file's leading number; one the list does not hold is COM3, written back
    // over the first two bytes ("\000" is the NUL).
    const std::tuple<std::string, int, std::string> stored[] = {
        {"12", 12, "12"},  {"1\09"s, 1, "1\09"s},  {"  7x", 7, "7\0007x"s},
        {"0", 3, "3\0"s},  {"abc", 3, "3\0c"s},    {"21", 3, "3\0"s},
        {"-4", 3, "3\0"s}, {"99999", 3, "3\0999"s}};
    for (const auto& [content, com, after] : stored) {
        config() = content;
        click(ids::main::kRefresh);
        EXPECT_EQ(std::tuple(port.commPort, config()), std::tuple(com, after)) << content;
        EXPECT_EQ(model().value(ids::main::kPortCombo), com - 1);
    }

    // A number the list does not hold is said beside the list, in the window's language, until
    // the user picks a port.
    config() = "-5";
    click(ids::main::kRefresh);
    EXPECT_EQ(text(ids::main::kPortDevice),
              "qdmcconfig.ini records port -5, which is not one of COM1 to COM20: COM3 is used  "
              "COM3 = /dev/fake3");
    click(ids::main::kLanguage);
    EXPECT_EQ(
        text(ids::main::kPortDevice),
        "qdmcconfig.ini 记录的串口 -5 不在 COM1 至 COM20 之内：已改用 COM3  COM3 = /dev/fake3");
    select(ids::main::kPortCombo, 3);
    EXPECT_EQ(text(ids::main::kPortDevice), "COM4 = /dev/fake4");
}

}  // namespace
}  // namespace orva
