#include <initializer_list>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "Golden.h"
#include "paramfile/FirmwareConversion.h"
#include "support/CoreHarness.h"

namespace orva::test {
namespace {

constexpr const char* kPath = "/home/pilot/QDMC_Data.txt";

// The golden save file with the value texts of some stored slots replaced.
std::string edited(std::initializer_list<std::pair<int, std::string_view>> values) {
    std::string file = goldenSaveFile();
    for (const auto& [slot, value] : values) {
        std::size_t at = 0;
        for (int line = 0; line <= slot; ++line) {
            at = file.find("\r\r\n", at) + 3;
        }
        const std::size_t end = file.find("\r\r\n", at);
        file.replace(at + 13, end - at - 13, value);
    }
    return file;
}

const std::vector<std::string>& kLinks = kGoldenRestore;

class Restore : public CoreHarness {
  protected:
    void restore(std::string file) {
        files.content[kPath] = std::move(file);
        prompts.files.push_back(kPath);
        select(ids::main::kRestoreChoice, 4);
    }
};

TEST_F(Restore, EveryLinkWaitsForTheAcknowledgementOfTheOneBefore) {
    select(ids::main::kRestoreChoice, 4);  // chooser cancelled: nothing sent, mode 7 kept
    EXPECT_EQ(mode(), ProtocolMode::Restore);
    click(ids::main::kRefresh);  // a link restart ends a restore silently
    EXPECT_EQ(mode(), ProtocolMode::Idle);
    restore(goldenSaveFile());
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(prompts.asked[1].filter, "自存Kivrel飞控参数文件(*.txt)|*.txt|所有文件(*.*)|*.*||");
    EXPECT_EQ(writes(), (std::vector<std::string>{"?V\r", kLinks[0], kLinks[1]}));
    port.receive("Sj0004\r\n");  // the announcement's acknowledgement names no link
    EXPECT_TRUE(writes().empty());
    model().setValue(ids::main::kRestoreChoice, 0);  // so that the end's own selection shows

    for (std::size_t i = 2; i < std::size(kLinks); ++i) {
        const char ack = kLinks[i - 1][1];
        const int reads = port.discards;
        const FakePort::Write sent = released(ack, 50);
        EXPECT_EQ(sent.bytes, kLinks[i]) << ack;
        // The event's own read, then a discard before every link but the first.
        EXPECT_EQ(sent.discardsBefore - reads, ack == 'C' ? 1 : 2) << ack;
        EXPECT_EQ(mode(), ack == 'O' ? ProtocolMode::Idle : ProtocolMode::Restore) << ack;
    }
    EXPECT_EQ(model().value(ids::main::kRestoreChoice), 4);  // "File saved by youself"
}

TEST_F(Restore, ListEntriesGoThroughTheirMapsOrAreLeftOut) {
    // Entries 1, 2, 3; what the acknowledgements of C and the next two release; "Edit..." kept.
    const std::tuple<const char*, const char*, const char*, std::vector<std::string>, bool>
        cases[] = {
            {"0002", "0007", "0004", {"SA0002\r", "SB0006\r", "SP0007\r"}, false},  // BI
            {"0016", "0001", "0001", {"SA0016\r", "SB0001\r", "SP0001\r"}, true},
        };
    for (const auto& [multiAxis, esc, servo, expected, editEnabled] : cases) {
        model().setEnabled(ids::main::kEditFrame, true);
        restore(edited({{0, multiAxis}, {1, esc}, {2, servo}}));
        port.takeWrites();
        std::vector<std::string> sent;
        for (char ack = 'C'; sent.size() < 3; ack = sent.back()[1]) {
            sent.push_back(released(ack, 50).bytes);
            ASSERT_FALSE(sent.back().empty()) << multiAxis << ack;
        }
        EXPECT_EQ(sent, expected) << multiAxis;
        EXPECT_EQ(enabled(ids::main::kEditFrame), editEnabled) << multiAxis;
    }
}

// The preview lists what the chain sends, a list entry with no item left out.
TEST_F(Restore, CommandsListTheChainsLinks) {
    RestoreEntries entries;
    entries.readFrom(goldenSaveFile());
    EXPECT_EQ(RestoreChain::commands(entries),
              std::vector<std::string>(kLinks.begin() + 1, kLinks.end() - 1));
    entries.readFrom(edited({{1, "0008"}}));
    EXPECT_EQ(RestoreChain::commands(entries)[2], "SP0003\r");
}

TEST_F(Restore, DefaultSetsAreLoadedByTheControllerThenReadBack) {
    const char* const sets[] = {"Sj0000\r", "Sj0001\r", "Sj0002\r", "Sj0003\r"};
    for (int set = 0; set < 4; ++set) {
        core.link().enter(ProtocolMode::Restore);
        port.receive("leftov");  // a reply cut short: the choice empties it
        select(ids::main::kRestoreChoice, set);
        EXPECT_EQ(writes(), std::vector<std::string>{sets[set]});
        EXPECT_EQ(released('j', 10).bytes, "?V\r") << set;  // the controller's "Sj0..." reply
    }
}

// Each version-dependent code both ways across 1211/1212, kept to what the target accepts.
TEST(FirmwareConversion, EachSettingShowsOnTheOtherFirmwareWhatItShowedWhenSaved) {
    struct Row {
        char code;
        int wire, savedOn, target, expected;
    };
    const Row rows[] = {
        {'K', 155, 1211, 1220, 55},
        {'K', 55, 1220, 1211, 155},  //
        {'J', 100, 1211, 1212, 0},
        {'J', 0, 1212, 1211, 100},  //
        {'%', 137, 0, 1220, 37},
        {'%', 37, 1220, 0, 137},  // 0: no version read yet
        {')', 180, 1211, 1220, 80},
        {')', 80, 1220, 1211, 180},  //
        {'+', 200, 1000, 1300, 100},
        {'+', 100, 1300, 1000, 200},
        // What the other side cannot show is kept to its end.
        {'K', 50, 1211, 1220, 0},  // shown -50
        {'K', 150, 1220, 1211, 200},
        {'K', 250, 1211, 1220, 0},  // out of range: shown as -100
        // Same side: as saved.
        {'J', 137, 1211, 0, 137},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(FirmwareConversion::wire(r.code, r.wire, r.savedOn, r.target), r.expected)
            << r.code << r.wire << " " << r.savedOn << "->" << r.target;
    }
}

// A backup's name says the firmware it was read from: restored across 1211/1212 it is
// converted, and the label says so; the pitch angle limit is the same on both.
TEST_F(Restore, ABackupOfOtherFirmwareIsConverted) {
    constexpr const char* kBackup = "/b/2026-12-06_14-03-59_fw1211.txt";
    files.content[kBackup] =
        edited({{17, "0140"}, {18, "0141"}, {19, "0142"}, {21, "0121"}, {22, "0122"}});
    answer('V', "1220");
    port.takeWrites();
    prompts.files.push_back(kBackup);
    select(ids::main::kRestoreChoice, 4);
    EXPECT_EQ(writes(), (std::vector<std::string>{kLinks[0], kLinks[1]}));
    for (std::size_t i = 2; i < std::size(kLinks); ++i) {
        EXPECT_EQ(released(kLinks[i - 1][1], 50).bytes, kLinks[i]);
    }
    EXPECT_EQ(core.paramFiles().converted(), "KJ%)+");
    EXPECT_EQ(text(ids::main::kPortDevice), "已按固件换算 1211 -> 1220: KJ%)+  COM3 = /dev/fake3");
}

// Nothing of a file that is not as Save Data writes it goes out: it is checked whole first.
TEST_F(Restore, AFileThatIsNotASavedFileSendsNothing) {
    const std::string golden = goldenSaveFile();
    std::size_t tenLines = 0;
    for (int i = 0; i < 10; ++i) {
        tenLines = golden.find("\r\r\n", tenLines) + 3;
    }
    const std::pair<std::string, int> cases[] = {
        {golden.substr(0, tenLines), 11},  // cut after ten lines
        {golden.substr(0, golden.size() - 1), 196},
        {"COM03\r\r\n", 1},  // labels in UTF-8 or ASCII
        {"", 1},
        {"\r\r\r", 1},
        {std::string(4096, '\x9c'), 1},
        {edited({{3, "45"}}), 5},               // a value not written as Save Data writes it
        {edited({{40, "x"}}), 42},              // a flag that is no number
        {golden + "\r\r\n", 196},               // one line too many
        {edited({{176, "-2147483647"}}), 178},  // a frame number too low to shift back
        {edited({{190, "7"}}), 192},            // a declination without its padding
        // Values no control, list or read-back puts there.
        {edited({{0, "0000"}}), 2},      // multi-axis: no list position
        {edited({{0, "0099"}}), 2},      //
        {edited({{1, "0008"}}), 3},      // ESC rate: seven positions
        {edited({{3, "0101"}}), 5},      // a slider of 0..100
        {edited({{17, "0201"}}), 19},    // a gimbal scale, wire 0..200
        {edited({{23, "-101"}}), 25},    // a servo mid point, -100..100
        {edited({{26, "0279"}}), 28},    // the alarm voltage, 280..400
        {edited({{40, "7"}}), 42},       // a check box holds 1 or 0
        {edited({{190, "0181"}}), 192},  // the declination, -180..180
    };
    for (const auto& [file, line] : cases) {
        restore(file);
        EXPECT_TRUE(writes().empty()) << line;
        ASSERT_FALSE(prompts.shown.empty());
        EXPECT_EQ(lastMessage().text, "此文件第" + std::to_string(line) +
                                          "行与保存当前数据写出的格式不符，未向飞控发送任何参数。");
    }
    click(ids::main::kLanguage);
    restore(edited({{3, "45"}}));
    EXPECT_EQ(lastMessage().text,
              "Line 5 of this file is not as Save Data writes it; nothing was sent to the "
              "controller.");
    EXPECT_EQ(lastMessage().title, "Halvane Mentioned:");

    files.failingAfter[kPath] = 30;  // a read that breaks off
    restore(golden);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(lastMessage().text, "\"" + std::string(kPath) + "\": Input/output error");
}

}  // namespace
}  // namespace orva::test
