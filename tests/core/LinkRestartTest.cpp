#include <gtest/gtest.h>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "support/Fakes.h"

namespace orva {
namespace {

using namespace std::string_literals;

class LinkRestartTest : public ::testing::Test {
  protected:
    std::string& configBytes() { return files.content["qdmcconfig.ini"]; }

    test::FakePort port;
    test::FakeClock clock;
    test::ScriptedPrompts prompts;
    test::MemoryFiles files;
    OrvaCore core{port, clock, prompts, files};
};

TEST_F(LinkRestartTest, FirstStartWithoutConfigFileUsesCom3) {
    core.initialise();
    EXPECT_EQ(port.commPort, 3);
    EXPECT_EQ(core.model().value(ids::main::kPortCombo), 2);  // "COM3"
    EXPECT_TRUE(port.isOpen);
    EXPECT_EQ(configBytes(), "3\0"s);  // digit 3, NUL
    EXPECT_EQ(core.model().text(ids::main::kStatus), "串口已打开");
    // The line as the controller expects it.
    EXPECT_EQ(port.settings, "115200,n,8,1");
    EXPECT_EQ(port.inBufferSize, 1024);
    EXPECT_EQ(port.outBufferSize, 1024);
    EXPECT_EQ(port.inputMode, CMSComm::InputMode::Binary);
    EXPECT_EQ(port.threshold, 1);
    EXPECT_EQ(port.inputLen, 0);
    EXPECT_EQ(port.handshaking, CMSComm::Handshaking::None);
    EXPECT_EQ(port.takeWritten(), "?V\r");
    EXPECT_EQ(core.link().mode(), ProtocolMode::Idle);
    EXPECT_EQ(core.readback().retries(), 3);
    EXPECT_FALSE(core.model().enabled(ids::main::kUpgrade));
}

TEST_F(LinkRestartTest, StoredPortThenComboChoice) {
    configBytes() = "12";
    core.initialise();
    EXPECT_EQ(port.commPort, 12);
    EXPECT_EQ(core.model().value(ids::main::kPortCombo), 11);  // "COM12"
    EXPECT_EQ(configBytes(), "12");
    port.takeWritten();

    core.onUserAction({ActionKind::Select, ids::main::kPortCombo, 4});  // "COM5"
    EXPECT_EQ(port.commPort, 5);
    EXPECT_EQ(configBytes(), "5\0"s);
    EXPECT_EQ(port.takeWritten(), "?V\r");

    core.onUserAction(
        {ActionKind::Click, ids::main::kRefresh});  // the file now reads back as port 5
    EXPECT_EQ(port.commPort, 5);
    EXPECT_EQ(core.model().value(ids::main::kPortCombo), 4);
}

TEST_F(LinkRestartTest, ChoosingTheOpenPortReopensAndReadsAgain) {
    core.initialise();
    port.takeWritten();
    const int opens = port.opens;
    const int closes = port.closes;
    core.link().enter(ProtocolMode::Monitor);
    port.receive("half a rep");
    core.onUserAction({ActionKind::Select, ids::main::kPortCombo, 2});
    EXPECT_EQ(port.closes, closes + 1);
    EXPECT_EQ(port.opens, opens + 1);
    EXPECT_EQ(core.link().mode(), ProtocolMode::Idle);
    EXPECT_TRUE(core.link().replyText().empty());
    EXPECT_EQ(port.takeWritten(), "?V\r");
}

TEST_F(LinkRestartTest, MissingPortStillRecordsTheChoice) {
    port.failOpen = true;
    configBytes() = "7";
    core.initialise();
    EXPECT_TRUE(core.link().openFailed());
    EXPECT_EQ(core.model().text(ids::main::kStatus), "串口未打开");
    EXPECT_EQ(configBytes(), "7\0"s);
    // The rest of the restart is still attempted, and the reason is shown beside the list.
    EXPECT_EQ(port.takeWritten(), "?V\r");
    EXPECT_NE(core.model().text(ids::main::kPortDevice).find("no such device"), std::string::npos);

    core.onUserAction({ActionKind::Select, ids::main::kPortCombo, 15});
    EXPECT_EQ(configBytes(), "16");
    EXPECT_EQ(core.model().text(ids::main::kStatus), "串口未打开");
}

TEST_F(LinkRestartTest, VariantsDifferInWhatTheyReset) {
    core.initialise();
    port.receive("?V\r 1220\r\n");
    core.model().setEnabled(ids::main::kUpgrade, true);
    core.store().set(2, 4);

    core.onUserAction({ActionKind::Select, ids::main::kPortCombo, 2});
    EXPECT_EQ(core.readback().firmwareVersion(), 1220);  // the combo variant keeps these
    EXPECT_TRUE(core.model().enabled(ids::main::kUpgrade));
    EXPECT_EQ(core.store().get(2), 4);

    core.onUserAction({ActionKind::Click, ids::main::kRefresh});
    EXPECT_EQ(core.readback().firmwareVersion(),
              0);  // Refresh forgets the version until read again
    EXPECT_FALSE(core.model().enabled(ids::main::kUpgrade));
    EXPECT_EQ(core.store().get(2), 1);  // servo rate back to its first entry
}

TEST_F(LinkRestartTest, PortThatWillNotClose) {
    core.initialise();
    configBytes() = "3\0tail"s;
    port.stuckOpen = true;
    port.takeWritten();

    core.onUserAction(
        {ActionKind::Click,
         ids::main::kRefresh});  // file variant: reported as not opened, file untouched
    EXPECT_EQ(core.model().text(ids::main::kStatus), "串口未打开");
    EXPECT_EQ(configBytes(), "3\0tail"s);
    EXPECT_EQ(port.takeWritten(), "?V\r");

    core.model().setText(ids::main::kStatus, "as before");
    core.onUserAction({ActionKind::Select, ids::main::kPortCombo, 8});
    EXPECT_EQ(core.model().text(ids::main::kStatus), "as before");  // combo variant: untouched
    EXPECT_EQ(configBytes(), "3\0tail"s);
    EXPECT_EQ(port.takeWritten(), "?V\r");
}

TEST_F(LinkRestartTest, ConfigFileErrorStopsTheRestart) {
    files.failing["qdmcconfig.ini"] = "\"qdmcconfig.ini\": Read-only file system";
    core.initialise();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "\"qdmcconfig.ini\": Read-only file system");
    EXPECT_EQ(port.written, "");  // no version query
    EXPECT_EQ(port.opens, 0);

    core.onUserAction({ActionKind::Select, ids::main::kPortCombo, 0});
    EXPECT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(port.opens, 1);  // the combo variant opens before writing the file
    EXPECT_EQ(port.written, "");
}

TEST_F(LinkRestartTest, OutOfRangeStoredPortIsPassedOn) {
    configBytes() = "99";
    core.initialise();
    EXPECT_EQ(port.commPort, 99);
    EXPECT_EQ(core.model().value(ids::main::kPortCombo), -1);  // no such entry
    EXPECT_EQ(configBytes(), "0\0"s);  // the list's (empty) position is what gets recorded
}

}  // namespace
}  // namespace orva
