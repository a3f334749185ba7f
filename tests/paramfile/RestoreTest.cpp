#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "support/CoreHarness.h"

namespace orva::test {
namespace {

constexpr const char* kPath = "/home/pilot/QDMC_Data.txt";

// A saved file with a few hand edits: 13-byte ASCII labels, a port line too short to hold a value,
// entry 5 without zero padding, a matrix line holding "10" and blank lines past the 220 entries.
std::string savedFile(const char* multiAxis = "0008", const char* esc = "0005",
                      const char* servo = "0002") {
    std::string file = "COM03\r\r\n";
    const auto line = [&file](std::string_view value) {
        file.append("label 13 byte").append(value).append("\r\r\n");
    };
    for (const char* value :
         {multiAxis, esc,    servo,  "0045", "42",   "0100", "0050", "0060", "0070", "0080", "0090",
          "0011",    "0012", "0013", "0014", "0015", "0016", "0040", "0041", "0042", "0020", "0021",
          "0022",    "-5",   "0030", "-100", "0330", "412",  "398",  "405",  "0"}) {
        line(value);  // entries 1 to 31
    }
    // Entries 32 to 175, one byte each: sensors, receiver and output reverse, then the function
    // rows a, b, c, d, e, f, =, g, h, i of twelve. 'T' stands for the line "10".
    for (char flag : std::string_view{"00000101 10000001 00100000 111111111111 000000000001 "
                                      "T10000000000 001000000100 000000000000 000000000000 "
                                      "000000000010 000000000000 000000000000 000001000001"}) {
        if (flag != ' ') {
            line(flag == 'T' ? "10" : std::string(1, flag));
        }
    }
    for (int motor = 0; motor < 15; ++motor) {
        line("5000-5000");  // entries 176 to 190: the custom frame, never restored
    }
    line("-12");  // entry 191: the declination
    return file + std::string(40, '\n');
}

// Everything the restore of savedFile() writes, in order; each link answers the acknowledgement
// of the one before.
const char* const kLinks[] = {
    "Sj0004\r", "SC0045\r", "SA0015\r", "SB0007\r", "SP0003\r", "SD42\r\r", "SE0100\r", "SF0050\r",
    "SG0060\r", "SY0070\r", "SZ0080\r", "SR0090\r", "ST0011\r", "S`0012\r", "S@0013\r", "S#0014\r",
    "S$0015\r", "S!0016\r", "SJ0041\r", "SK0040\r", "S%0042\r", "S)0021\r", "S_0020\r", "S+0022\r",
    "S^0130\r", "S&0095\r", "S(0000\r", "SL0330\r", "SQ0168\r", "Sa4095\r", "Sb2048\r", "Sc0003\r",
    "Sd0516\r", "Se0000\r", "Sf0000\r", "S=1024\r", "Sg0000\r", "Sh0000\r", "Si2080\r", "SM0175\r",
    "SN0129\r", "SO0004\r", "?V\r"};

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
    restore(savedFile());
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
            {"0001", "0008", "0000", {"SA0001\r", "SD42\r\r", "SE0100\r"}, false},  // GIMBAL
            {"0017", "0006", "0003", {"SB0005\r", "SP0004\r", "SD42\r\r"}, true},
        };
    for (const auto& [multiAxis, esc, servo, expected, editEnabled] : cases) {
        model().setEnabled(ids::main::kEditFrame, true);
        restore(savedFile(multiAxis, esc, servo));
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

TEST_F(Restore, ReadErrorGoesOnWithWhatWasRead) {
    restore(savedFile());
    files.failingAfter[kPath] = 30;  // the port line and entry 1, then a broken line
    restore(savedFile("0009"));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(lastMessage().text, "\"" + std::string(kPath) + "\": Input/output error");
    EXPECT_EQ(lastMessage().icon, MessageIcon::Error);
    // Entry 4 is still the earlier file's; entry 1 is the new one.
    EXPECT_EQ(writes(), (std::vector<std::string>{"Sj0004\r", "SC0045\r", "Sj0004\r", "SC0045\r"}));
    EXPECT_EQ(released('C', 50).bytes, "SA0008\r");
}

}  // namespace
}  // namespace orva::test
