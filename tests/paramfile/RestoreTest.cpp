#include <string>
#include <vector>

#include "ParamFileFixture.h"
#include "SampleStore.h"
#include "paramfile/ParameterFiles.h"
#include "paramfile/ParameterSaveFile.h"

namespace orva::test {
namespace {

constexpr const char* kPath = "/home/pilot/QDMC_Data.txt";

class Restore : public ParamFileFixture {
  protected:
    // Puts a saved file of `store` where the chooser will point, and selects "File saved by
    // youself".
    void restoreStore(const ParameterStore& store) {
        files.content[kPath] = ParameterSaveFile::compose(store, 2).value();
        restoreFile();
    }
    void restoreFile() {
        prompts.files.push_back(kPath);
        select(4);
    }
    // Acknowledges every command the chain sends until it asks for the version or stalls.
    std::vector<std::string> runChain() {
        std::vector<std::string> sent;
        for (int guard = 0; guard < 100 && !port.writes.empty(); ++guard) {
            const std::string last = port.writes.back().bytes;
            if (last == "?V\r" || last.size() < 2) {
                break;
            }
            port.writes.clear();
            acknowledge(last[1]);
            if (!port.writes.empty()) {
                sent.push_back(port.writes.back().bytes);
            }
        }
        return sent;
    }
};

TEST_F(Restore, WholeChainFromASavedFile) {
    restoreStore(sampleStore());
    EXPECT_EQ(mode(), ProtocolMode::Restore);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_FALSE(prompts.asked[0].save);
    EXPECT_EQ(prompts.asked[0].defaultName, "");
    EXPECT_EQ(prompts.asked[0].filter, "自存Kivrel飞控参数文件(*.txt)|*.txt|所有文件(*.*)|*.*||");
    // The announcement, then the first link straight from entry 4.
    ASSERT_EQ(port.writes.size(), 2u);
    EXPECT_EQ(port.writes[0].bytes, "Sj0004\r");
    EXPECT_EQ(port.writes[1].bytes, "SC0045\r");

    // Each acknowledgement and the command it releases, in chain order.
    const std::vector<std::pair<char, std::string>> links = {
        {'C', "SA0015\r"},  // entry 1 = 8 ("8. INV Y6") maps to 15
        {'A', "SB0007\r"},  // entry 2 = 5 maps to 7
        {'B', "SP0003\r"},  // entry 3 = 2 maps to 3
        {'P', "SD0007\r"},  // entry 5 as text
        {'D', "SE0100\r"},
        {'E', "SF0050\r"},
        {'F', "SG0060\r"},
        {'G', "SY0070\r"},
        {'Y', "SZ0080\r"},
        {'Z', "SR0090\r"},  // R follows Z
        {'R', "ST0011\r"},
        {'T', "S`0012\r"},
        {'`', "S@0013\r"},
        {'@', "S#0014\r"},
        {'#', "S$0015\r"},
        {'$', "S!0016\r"},
        {'!', "SJ0041\r"},  // J from entry 19, K from entry
                            // 18
        {'J', "SK0040\r"},
        {'K', "S%0042\r"},
        {'%', "S)0021\r"},  // ) from entry 22, _ from entry
                            // 21
        {')', "S_0020\r"},
        {'_', "S+0022\r"},
        {'+', "S^0130\r"},  // entry 25 (^ = 30) plus 100
        {'^', "S&0095\r"},  // entry 24 (& = -5) plus 100
        {'&', "S(0000\r"},  // entry 26 (( = -100) plus 100
        {'(', "SL0330\r"},
        {'L', "SQ0168\r"},  // entry 191 (-12) plus 180
        {'Q', "Sa4095\r"},  // every box of row a
        {'a', "Sb2048\r"},  // CH8 high only
        {'b', "Sc0003\r"},
        {'c', "Sd0000\r"},
        {'d', "Se0000\r"},
        {'e', "Sf0000\r"},
        {'f', "S=0000\r"},
        {'=', "Sg0000\r"},
        {'g', "Sh0000\r"},
        {'h', "Si0032\r"},  // CH6 high
        {'i', "SM0095\r"},  // 15 + 16 x (1 + 0 + 4 + 0)
        {'M', "SN0129\r"},  // CH1 and CH8 reversed
        {'N', "SO0004\r"},  // M/S3 reversed
        {'O', "?V\r"},      // the read-back starts again
    };
    for (const auto& [ack, next] : links) {
        port.writes.clear();
        const int reads = port.discards;
        const std::uint64_t arrived = clock.now;
        acknowledge(ack);
        ASSERT_EQ(port.writes.size(), 1u) << ack;
        EXPECT_EQ(port.writes[0].bytes, next) << ack;
        EXPECT_GE(port.writes[0].atMs - arrived, 50u) << ack;
        // The receive event's own read, and for every link but the first a discard before
        // sending.
        EXPECT_EQ(port.discards - reads, ack == 'C' ? 1 : 2) << ack;
        EXPECT_EQ(mode(), ack == 'O' ? ProtocolMode::Idle : ProtocolMode::Restore) << ack;
    }
    EXPECT_EQ(core.model().value(ids::main::kRestoreChoice), 4);
    EXPECT_TRUE(core.link().replyText().empty());
}

TEST_F(Restore, AcknowledgementsPaceTheChain) {
    restoreStore(sampleStore());
    port.writes.clear();
    // The announcement's acknowledgement matches no link: dropped after the pause.
    const std::uint64_t before = clock.now;
    port.receive("Sj0004\r\n");
    EXPECT_TRUE(port.writes.empty());
    EXPECT_GE(clock.now - before, 50u);
    // Six characters do nothing; the seventh takes the acknowledgement.
    port.receive("SC004");
    port.receive("5");
    EXPECT_TRUE(port.writes.empty());
    EXPECT_EQ(core.link().receivedCount(), 6);
    port.receive("\r");
    ASSERT_EQ(port.writes.size(), 1u);
    EXPECT_EQ(port.writes[0].bytes, "SA0015\r");
    EXPECT_EQ(core.link().receivedCount(), 0);

    // Two acknowledgements in one read: the second goes with the buffer and the chain stalls.
    port.writes.clear();
    port.receive("SA0015\r\nSB0007\r\n");
    ASSERT_EQ(port.writes.size(), 1u);
    EXPECT_EQ(port.writes[0].bytes, "SB0007\r");
    port.writes.clear();
    // A reply that is no acknowledgement of the chain: dropped, nothing sent, still mode 7.
    port.receive("?V\r 1220\r\n");
    port.receive("garbage");
    EXPECT_TRUE(port.writes.empty());
    EXPECT_EQ(mode(), ProtocolMode::Restore);
    // A link restart ends the chain silently.
    click(ids::main::kRefresh);
    EXPECT_EQ(mode(), ProtocolMode::Idle);
    port.writes.clear();
    acknowledge('B');
    EXPECT_TRUE(port.writes.empty());
}

TEST_F(Restore, ListEntriesGoThroughTheirMaps) {
    struct Case {
        int multiAxis, esc, servo;
        std::vector<std::string> first;  // the commands released by SC, SA, SB
        bool editEnabled;
    };
    const Case cases[] = {
        {9, 1, 1, {"SA0008\r", "SB0001\r", "SP0001\r"}, true},
        {2, 6, 4, {"SA0002\r", "SB0005\r", "SP0007\r"}, false},  // BI: no frame editor
        {1, 7, 3, {"SA0001\r", "SB0006\r", "SP0004\r"}, false},  // GIMBAL
        {16, 4, 2, {"SA0016\r", "SB0004\r", "SP0003\r"}, true},
        // Values no list item has: those links are left out and the chain goes on.
        {17, 1, 1, {"SB0001\r", "SP0001\r", "SD0007\r"}, true},
        {1, 8, 0, {"SA0001\r", "SD0007\r", "SE0100\r"}, false},
    };
    for (const Case& c : cases) {
        ParameterStore store = sampleStore();
        store.set(0, c.multiAxis);
        store.set(1, c.esc);
        store.set(2, c.servo);
        core.model().setEnabled(ids::main::kEditFrame, true);
        port.writes.clear();
        restoreStore(store);
        std::vector<std::string> sent;
        for (int i = 0; i < 3; ++i) {
            const std::string last = port.writes.back().bytes;
            port.writes.clear();
            acknowledge(last[1]);
            ASSERT_EQ(port.writes.size(), 1u);
            sent.push_back(port.writes[0].bytes);
        }
        EXPECT_EQ(sent, c.first) << c.multiAxis;
        EXPECT_EQ(core.model().enabled(ids::main::kEditFrame), c.editEnabled) << c.multiAxis;
    }
}

TEST_F(Restore, SensorAndFlagLinks) {
    ParameterStore store = sampleStore();
    for (int s = 31; s <= 38; ++s) {
        store.set(s, 0);
    }
    for (int b = 0; b < 12; ++b) {
        store.set(55 + b, b == 11 ? 1 : 0);
    }
    restoreStore(store);
    auto sent = runChain();
    ASSERT_EQ(sent.size(), 41u);  // SA to SO, then the version query
    EXPECT_EQ(sent[26], "SQ0168\r");
    EXPECT_EQ(sent[27], "Sa2048\r");
    EXPECT_EQ(sent[37], "SM0015\r");  // the four fixed sensors only
    EXPECT_EQ(sent.back(), "?V\r");

    for (int s = 35; s <= 38; ++s) {
        store.set(s, 1);
    }
    port.writes.clear();
    restoreStore(store);
    sent = runChain();
    ASSERT_EQ(sent.size(), 41u);  // SA to SO, then the version query
    EXPECT_EQ(sent[37], "SM0255\r");
}

TEST_F(Restore, EntriesAreCutAtFixedBytes) {
    // A hand-edited file: short lines, a two-digit flag, a text without zero padding.
    const std::string label(13, 'x');
    std::string file = "port\r\r\n";  // 0
    file += label + "0008\r\r\n";     // 1: multi-axis
    file += label + "0001\r\r\n";     // 2
    file += label + "0001\r\r\n";     // 3
    file += label + "0045\r\r\n";     // 4: main stability
    file += label + "42\r\r\n";       // 5: short text goes out unchanged
    for (int i = 6; i < 56; ++i) {
        file += "short\r\r\n";  // 6-55: no value at all
    }
    file += label + "10\r\r\n";  // 56: only the "1" is taken
    files.content[kPath] = file;
    restoreFile();
    const RestoreEntries& entries = core.paramFiles().entries();
    EXPECT_EQ(entries.text(5), "42\r");
    EXPECT_EQ(entries.text(6), "");
    EXPECT_EQ(entries.text(56), "1");
    auto sent = runChain();
    ASSERT_GE(sent.size(), 4u);
    EXPECT_EQ(sent[2], "SP0001\r");
    EXPECT_EQ(sent[3], "SD42\r\r");  // "S", code, the entry as it stands, CR
    EXPECT_EQ(sent[4], "SE\r");      // an empty entry
    EXPECT_EQ(sent[27], "Sa0001\r");
}

TEST_F(Restore, ChooserCancelledOrFileMissing) {
    select(4);  // no file chosen
    EXPECT_EQ(mode(), ProtocolMode::Restore);
    EXPECT_TRUE(port.writes.empty());
    EXPECT_TRUE(prompts.shown.empty());

    // A name that does not exist: the announcement is out, then the failure is shown and the
    // chain never starts.
    prompts.files.push_back("/nowhere/QDMC_Data.txt");
    select(4);
    ASSERT_EQ(port.writes.size(), 1u);
    EXPECT_EQ(port.writes[0].bytes, "Sj0004\r");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_NE(prompts.shown[0].text.find("/nowhere/QDMC_Data.txt"), std::string::npos);
    EXPECT_EQ(prompts.shown[0].title, "Halvane提示:");
    EXPECT_EQ(mode(), ProtocolMode::Restore);
}

TEST_F(Restore, BadFilesNeverCrash) {
    // An earlier, good file leaves its entries behind for a shorter one.
    restoreStore(sampleStore());
    port.writes.clear();
    files.content[kPath] = "当 前 串口COM03\r\r\n" + std::string(13, 'y') + "0002";
    restoreFile();
    ASSERT_EQ(port.writes.size(), 2u);
    EXPECT_EQ(port.writes[1].bytes, "SC0045\r");  // entry 4 from the earlier file
    auto sent = runChain();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0], "SA0002\r");  // entry 1 from the new one
    EXPECT_EQ(sent.back(), "?V\r");

    std::string garbage;
    for (int i = 0; i < 5000; ++i) {
        garbage.push_back(static_cast<char>((i * 7919 + i / 13) % 256));
    }
    const std::vector<std::string> bad = {
        "",                                                         // empty
        std::string("\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 18),    // zero bytes
        "\r\r\r\r\r\r\r\r\r\r\r\r\r\r\r\r\r\r\r\r",                 // lone CRs: one line
        "\n\n\n\n\n\n\n\n",                                         // empty lines
        std::string(200, '\xFF') + "\n" + std::string(40, '\x81'),  // not GBK
        garbage,
        std::string(3u << 20, '7'),  // one line of 3 MiB
    };
    for (const std::string& content : bad) {
        files.content[kPath] = content;
        port.writes.clear();
        restoreFile();
        ASSERT_EQ(port.writes.size(), 2u);
        EXPECT_EQ(port.writes[0].bytes, "Sj0004\r");
        runChain();  // whatever it sends, it neither crashes nor runs away
        EXPECT_LE(port.writes.size(), 1u);
    }
    // Many lines: only 220 entries exist, lines beyond them are ignored.
    std::string many;
    for (int i = 0; i < 100000; ++i) {
        many += std::string(13, 'z') + std::to_string(i % 10) + "123\r\r\n";
    }
    files.content[kPath] = many;
    port.writes.clear();
    restoreFile();
    EXPECT_EQ(core.paramFiles().entries().text(219), "9123");
    EXPECT_EQ(port.writes.back().bytes, "SC4123\r");
}

TEST_F(Restore, ReadErrorGoesOnWithWhatWasRead) {
    files.content[kPath] = ParameterSaveFile::compose(sampleStore(), 2).value();
    files.failingAfter[kPath] = 200;  // a few lines into the file
    restoreFile();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_NE(prompts.shown[0].text.find("Input/output error"), std::string::npos);
    EXPECT_EQ(prompts.shown[0].icon, MessageIcon::Error);
    ASSERT_EQ(port.writes.size(), 2u);
    EXPECT_EQ(port.writes[1].bytes, "SC0045\r");
}

TEST_F(Restore, DefaultSets) {
    for (int set = 0; set < 4; ++set) {
        port.writes.clear();
        core.link().enter(ProtocolMode::Restore);
        port.receive("leftov");
        select(set);
        EXPECT_EQ(mode(), ProtocolMode::Idle);
        ASSERT_EQ(port.writes.size(), 1u);
        EXPECT_EQ(port.writes[0].bytes, std::string("Sj000") + char('0' + set) + "\r");
        EXPECT_TRUE(prompts.asked.empty());
        // "Sj0" with four characters is not yet the acknowledgement; the fifth makes it.
        port.receive("Sj00");
        EXPECT_EQ(port.writes.size(), 1u);
        const std::uint64_t arrived = clock.now;
        port.receive(std::string(1, char('0' + set)) + "\r\n");
        ASSERT_EQ(port.writes.size(), 2u);
        EXPECT_EQ(port.writes[1].bytes, "?V\r");
        EXPECT_GE(port.writes[1].atMs - arrived, 10u);
        EXPECT_EQ(core.link().receivedCount(), 0);
    }
}

}  // namespace
}  // namespace orva::test
