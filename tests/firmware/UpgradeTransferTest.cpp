#include "firmware/FirmwareFixture.h"

namespace orva::test {
namespace {

using namespace std::string_literals;

// 100 bytes 156..255: N = 101, B = ceil(101 / 56) + 1 = 3, so the bar runs from 0 to B + 1 = 4;
// the checksum is (156 + 255) * 50 = 20550 = 0x5046.
const std::string kImage = [] {
    std::string out(100, '\0');
    std::iota(out.begin(), out.end(), static_cast<char>(156));
    return out;
}();
constexpr std::uint32_t kSum = 20550;
const std::string kStartPacket = loaderPacket(0xA0, 1);
// The first twelve are locked by the start; a success enables them all.
const std::vector<int> kMainArea = {1001, 1002, 1032, 1003, 1033, 1013, 1215,
                                    1015, 1099, 1100, 1031, 1018, 1056, 1058,
                                    1059, 1060, 1062, 1064, 1065, 1043, 1061};

class UpgradeTransferTest : public FirmwareFixture {
  protected:
    // The loader's 64-byte answer: the block it expects and its checksum, both LSB first.
    static std::string loaderAnswer(std::uint32_t block, std::uint32_t checksum = 0) {
        return loaderPacket(0xA5, block, le32Bytes(checksum));
    }
    // Mode, bar and status box: "3 1/4 Data Sending>>25%", or "0 - COM Opened" with the bar hidden.
    std::string state() {
        const ControlState& bar = model().get(ids::main::kProgress);
        const std::string at = std::to_string(bar.value) + "/" + std::to_string(bar.maximum);
        return std::to_string(int(mode())) + (bar.visible ? " " + at + " " : " - ") +
               text(ids::main::kStatus);
    }
};

TEST_F(UpgradeTransferTest, AThreeBlockImageGoesOverPacketByPacketInBothLanguages) {
    // What the loader answers, what the tool writes then, and the state in English and Chinese.
    const std::string steps[][4] = {
        {"HALVANE KIVREL QDMC1220", "UPQDMC\r", "2 - COM Not Opened", "2 - 串口未打开"},
        {"RADY\r\n", kStartPacket, "3 1/4 Data Sending>>25%", "3 1/4 正传输数据>>25%"},
        {loaderAnswer(2), loaderPacket(0xA5, 2, kImage.substr(0, 56)), "3 2/4 Finished50%",
         "3 2/4 升级已完成50%"},
        // The last data packet: bytes 56..99 (212..255), the zero behind the file, then padding.
        {loaderAnswer(3), loaderPacket(0xA5, 3, kImage.substr(56)), "4 3/4 Finished75%",
         "4 3/4 升级已完成75%"},
        {loaderAnswer(4), loaderPacket(0xC8, 4, "\x46\x50"s), "5 4/4 COM Opened",
         "5 4/4 串口已打开"},
        // Block 5 is past the bar's end and 5 x 100 / 4 = 125 past 100: both stop at full.
        {loaderAnswer(5, kSum), loaderPacket(0xA6, 5), "6 4/4 Finished 100%",
         "6 4/4 升级已完成100%"},
        {loaderAnswer(6), "?V\r", "0 - COM Opened", "0 - 串口已打开"},
    };
    // The live display runs on: the success clears its channel values and unlocks what it locked.
    click(ids::custom::kDataDisplay);
    port.receive("CHDA15001500110019001000120018002000\r\n");

    for (const bool inEnglish : {false, true}) {
        ASSERT_TRUE(choose(kImage));
        // A closed port opens at the configuration file's port, shown in the list; from an empty
        // file at COM3, leaving the list as it was.
        port.isOpen = false;
        files.content[ConfigFile::kFileName] = inEnglish ? ""s : "7\0"s;
        port.takeWritten();
        port.queue("stale");
        click(ids::main::kUpgrade);
        EXPECT_EQ(std::tuple(port.isOpen, port.commPort, model().value(ids::main::kPortCombo)),
                  std::tuple(true, inEnglish ? 3 : 7, 6));
        EXPECT_EQ(port.pending + port.takeWritten(), "?W\r");
        EXPECT_EQ(state(), inEnglish ? "30 - COM Not Opened" : "30 - 串口未打开");
        EXPECT_EQ(enabledOf(Dialog::Main, kMainArea).substr(0, 12), std::string(12, '0'));
        for (const auto& [answer, written, english, chinese] : steps) {
            port.receive(answer);
            EXPECT_EQ(port.takeWritten(), written);
            EXPECT_EQ(state(), inEnglish ? english : chinese);
        }
        ASSERT_EQ(prompts.shown.size(), 1u);
        EXPECT_EQ(prompts.shown[0].title + " " + prompts.shown[0].text,
                  inEnglish ? "Halvane mentioned: Congratulations on your updgrading finished !\r\r"
                              "Please resetup all parameter，and do horizontal & compass "
                              "cablitration!"
                            : "Halvane提示: 恭喜你升级成功!\r\r请根据您的需要重新设置飞控各项参数，"
                              "并重做水平校准与罗盘校准!\r\r<若是第一次使用Kivrel飞控，您还需先做"
                              "油门行程校准!>");
        EXPECT_EQ(enabledOf(Dialog::Main, kMainArea), std::string(21, '1'));
        EXPECT_EQ(core.monitor().values().receiver, (std::array<int, 8>{}));
        prompts.shown.clear();
        english();
    }
}

TEST_F(UpgradeTransferTest, TheLoaderIsEnteredByItsWordsAndEachWrongAnswerEndsTheTransfer) {
    // The reads after a press of Upgrade and what each makes the tool write.
    const std::vector<std::pair<std::string, std::string>> entries[] = {
        // The tag and the ready word may be cut anywhere; the ready line's end may come after
        // the start packet has gone out, and is no part of the loader's first answer.
        {{"HALVANE KIVREL QD", "?W\r"},
         {"MC1220", "UPQDMC\r"},
         {"\r\nRA", ""},
         {"DY", kStartPacket},
         {"\r\n", ""}},
        {{"QDEC", "?W\rUPQDEC\r"}, {"noise", ""}, {"\r\nRADE\r\n", kStartPacket}},
    };
    const std::string good[] = {loaderAnswer(2), loaderAnswer(3), loaderAnswer(4),
                                loaderAnswer(5, kSum)};
    const char* const kDataError = "Data Error，Please Update again!";
    // Good answers before the bad one, the bad one, the message in Chinese and in English.
    const std::tuple<int, std::string, const char*, const char*> failures[] = {
        {0, loaderAnswer(1), "数据传输错误，请重新升级!", "Data Send Err，Please Update again!"},
        {2, loaderAnswer(3), "传输超时，请重新升级", kDataError},
        {3, loaderAnswer(5, kSum + 1), "数据校验错误，请重新升级!", kDataError},
        {3, loaderAnswer(6, kSum), "数据校验错误，请重新升级!", kDataError},
        {4, loaderAnswer(0x0106), "数据校验错误，请重新升级!", kDataError},  // right low byte only
    };
    int run = 0;
    for (const bool inEnglish : {false, true}) {
        for (const auto& [goodAnswers, bad, chineseText, englishText] : failures) {
            ASSERT_TRUE(choose(kImage));
            click(ids::main::kUpgrade);
            for (const auto& [read, written] : entries[run++ % 2]) {
                port.receive(read);
                EXPECT_EQ(port.takeWritten(), written) << read;
            }
            for (int i = 0; i < goodAnswers; ++i) {
                port.receive(good[i]);
            }
            port.takeWritten();
            prompts.shown.clear();
            port.receive(bad);
            ASSERT_EQ(prompts.shown.size(), 1u);
            EXPECT_EQ(lastMessage(), inEnglish ? englishText : chineseText);
            EXPECT_EQ(prompts.shown[0].title, inEnglish ? "Halvane Mentioned:" : "Halvane提示:");
            EXPECT_EQ(state(), inEnglish ? "0 - COM Opened" : "0 - 串口已打开");
            EXPECT_EQ(enabledOf(Dialog::Main, {1001}) + port.takeWritten(), "0");
        }
        english();
    }

    // Refresh puts a running transfer back to its start.
    click(ids::main::kUpgrade);
    port.receive("QDMC");
    port.receive("RADY");
    port.receive(good[0]);
    click(ids::main::kRefresh);
    EXPECT_EQ(state(), "0 - 串口已打开");
    EXPECT_FALSE(enabled(ids::main::kUpgrade));
    // The controller sits in its loader: the image choice and the main area come back, so the
    // upgrade can be tried again; after a failure a new port choice frees them too.
    EXPECT_EQ(enabledOf(Dialog::Main, {1001, 1002, 1003, 1015, 1099, 1020}), "111111");
    click(ids::main::kUpgrade);
    EXPECT_EQ(enabledOf(Dialog::Main, {1001, 1002}), "00");
    select(ids::main::kPortCombo, 2);
    EXPECT_EQ(enabledOf(Dialog::Main, {1001, 1002}), "11");
}

}  // namespace
}  // namespace orva::test
