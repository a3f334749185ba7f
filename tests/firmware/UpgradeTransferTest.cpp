#include <vector>

#include "firmware/FirmwareFixture.h"
#include "firmware/UpgradePacket.h"

namespace orva {
namespace {

constexpr ControlKey kMainArea[] = {
    ids::main::kChooseFirmware, ids::main::kMultiAxisTip, ids::main::kMultiAxis,
    ids::main::kEscTip,         ids::main::kEsc,          ids::main::kServoTip,
    ids::main::kServo,          ids::main::kSaveData,     ids::main::kRestoreChoice,
    ids::main::kLoadData,       ids::main::kDeclination,  ids::main::kDeclinationSet,
};

std::uint32_t blockOf(const std::string& packet) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(packet[4 + i])) << (8 * i);
    }
    return value;
}

class UpgradeTransferTest : public test::FirmwareFixture {
  protected:
    void SetUp() override { start(); }

    // Plays a loader that takes every packet: answers each with the next block and, from the end
    // packet on, the sum of the data it took. Returns the packets in the order sent.
    std::vector<std::string> runLoader() {
        std::vector<std::string> packets;
        std::uint32_t taken = 0;
        for (std::string packet = port.takeWritten(); packet.size() == frames::kPacketSize;
             packet = port.takeWritten()) {
            if (static_cast<unsigned char>(packet[0]) == 0xA5) {
                taken += sum(std::string_view(packet).substr(8));
            }
            packets.push_back(packet);
            port.receive(answer(blockOf(packet) + 1, taken));
        }
        return packets;
    }

    // The transfer has ended with an error: message, mode 0, bar hidden, main area still off.
    void expectFailed(const std::string& message) {
        ASSERT_FALSE(prompts.shown.empty());
        EXPECT_EQ(lastMessage(), message);
        EXPECT_EQ(mode(), ProtocolMode::Idle);
        EXPECT_EQ(core.firmware().transfer().checksum(), 0u);
        EXPECT_FALSE(progressShown());
        EXPECT_EQ(status(), core.language() == Language::English ? "COM Opened" : "串口已打开");
        EXPECT_FALSE(enabled(ids::main::kChooseFirmware));
    }
};

TEST_F(UpgradeTransferTest, UpgradeAsksForTheTagWithTheMainAreaLocked) {
    english();
    ASSERT_TRUE(choose(sampleImage(100)));
    const int discards = port.discards;
    click(ids::main::kUpgrade);
    EXPECT_EQ(mode(), ProtocolMode::UpgradeEntry);
    EXPECT_EQ(port.takeWritten(), "?W\r");
    EXPECT_EQ(port.discards, discards + 2);
    EXPECT_EQ(status(), "COM Not Opened");
    for (ControlKey key : kMainArea) {
        EXPECT_FALSE(enabled(key)) << key.id;
    }
    EXPECT_FALSE(progressShown());
}

TEST_F(UpgradeTransferTest, AClosedPortIsOpenedFromTheConfigurationFile) {
    ASSERT_TRUE(choose(sampleImage(100)));
    port.isOpen = false;
    files.content[ConfigFile::kFileName] = std::string("7\0", 2);
    click(ids::main::kUpgrade);
    EXPECT_TRUE(port.isOpen);
    EXPECT_EQ(port.commPort, 7);
    EXPECT_EQ(core.model().value(ids::main::kPortCombo), 6);

    // An empty file: COM3, and the list stays as it was.
    port.isOpen = false;
    files.content[ConfigFile::kFileName].clear();
    click(ids::main::kUpgrade);
    EXPECT_TRUE(port.isOpen);
    EXPECT_EQ(port.commPort, 3);
    EXPECT_EQ(core.model().value(ids::main::kPortCombo), 6);
}

TEST_F(UpgradeTransferTest, TheTagIsTakenFromTheLastEightCharactersOfOneRead) {
    ASSERT_TRUE(choose(sampleImage(100)));
    click(ids::main::kUpgrade);
    port.takeWritten();

    // Split over two reads, neither read holds the tag where it is looked for.
    port.receive("HALVANE KIVREL QD");
    port.receive("MC1220");
    EXPECT_EQ(mode(), ProtocolMode::UpgradeEntry);
    EXPECT_EQ(port.takeWritten(), "");
    EXPECT_EQ(core.link().replyText(), "");

    port.receive("HALVANE KIVREL QDMC1234");
    EXPECT_EQ(core.firmware().transfer().tag(), "QDMC");
    EXPECT_EQ(mode(), ProtocolMode::LoaderReady);
    EXPECT_EQ(port.takeWritten(), "UPQDMC\r");

    click(ids::main::kUpgrade);
    port.takeWritten();
    port.receive("QDEC");
    EXPECT_EQ(mode(), ProtocolMode::LoaderReady);
    EXPECT_EQ(port.takeWritten(), "UPQDEC\r");
}

TEST_F(UpgradeTransferTest, EitherReadyWordStartsTheBlocksEvenWhenSplit) {
    ASSERT_TRUE(choose(sampleImage(100)));
    const std::vector<std::vector<std::string>> answers = {
        {"\r\nRADY\r\n"}, {"RADY"}, {"RADE"}, {"\r\nRA", "DY\r\n"}, {"noise", "\r\nRADE\r\n"},
    };
    for (const auto& reads : answers) {
        click(ids::main::kUpgrade);
        port.receive("QDMC");
        port.takeWritten();
        for (std::size_t i = 0; i + 1 < reads.size(); ++i) {
            port.receive(reads[i]);
            EXPECT_EQ(mode(), ProtocolMode::LoaderReady);
            EXPECT_EQ(port.takeWritten(), "");
        }
        port.receive(reads.back());
        EXPECT_EQ(mode(), ProtocolMode::LoaderData) << reads.back();
        EXPECT_EQ(port.takeWritten(), UpgradePacket::start(1));
        EXPECT_EQ(core.link().replyText(), "");
    }
    // Between reads only four characters are kept.
    click(ids::main::kUpgrade);
    port.receive("QDMC");
    port.receive("abcdefghij");
    EXPECT_EQ(core.link().replyText(), "efgh");
}

TEST_F(UpgradeTransferTest, AThreeBlockTransferFromStartToSuccess) {
    english();
    const std::string file = sampleImage(111);
    enterLoader(file);

    // Start packet: block 1 of B = 3; the bar runs over B + 1 = 4 steps.
    EXPECT_EQ(port.takeWritten(), UpgradePacket::start(1));
    EXPECT_TRUE(progressShown());
    EXPECT_EQ(progress(), 25);
    EXPECT_EQ(status(), "Data Sending>>25%");

    port.receive(answer(2));
    EXPECT_EQ(port.takeWritten(), bytes({0xA5, 0, 0, 0, 2, 0, 0, 0}) + file.substr(0, 56));
    EXPECT_EQ(mode(), ProtocolMode::LoaderData);
    EXPECT_EQ(progress(), 50);
    EXPECT_EQ(status(), "Finished50%");

    // The last data packet: bytes 56 to 110 and the zero behind the file.
    port.receive(answer(3));
    EXPECT_EQ(port.takeWritten(),
              bytes({0xA5, 0, 0, 0, 3, 0, 0, 0}) + file.substr(56) + std::string(1, '\0'));
    EXPECT_EQ(mode(), ProtocolMode::LoaderLastData);
    EXPECT_EQ(progress(), 75);
    EXPECT_EQ(status(), "Finished75%");
    const std::uint32_t checksum = sum(file);
    EXPECT_EQ(core.firmware().transfer().checksum(), checksum);

    port.receive(answer(4));
    EXPECT_EQ(port.takeWritten(), UpgradePacket::end(4, checksum));
    EXPECT_EQ(mode(), ProtocolMode::LoaderEnd);
    EXPECT_EQ(progress(), 100);
    EXPECT_EQ(status(), "COM Opened");

    // Past the bar's range the percent is shown as full.
    port.receive(answer(5, checksum));
    EXPECT_EQ(port.takeWritten(), UpgradePacket::confirm(5));
    EXPECT_EQ(mode(), ProtocolMode::LoaderConfirm);
    EXPECT_EQ(core.firmware().transfer().percent(), 125);
    EXPECT_EQ(progress(), 100);
    EXPECT_EQ(status(), "Finished 100%");
    EXPECT_TRUE(prompts.shown.empty());

    port.receive(answer(6));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].title, "Halvane mentioned:");
    EXPECT_EQ(prompts.shown[0].text,
              "Congratulations on your updgrading finished !\r\rPlease resetup all parameter，"
              "and do horizontal & compass cablitration!");
    EXPECT_EQ(mode(), ProtocolMode::Idle);
    EXPECT_EQ(core.firmware().transfer().checksum(), 0u);
    EXPECT_EQ(core.readback().retries(), 3);
    EXPECT_EQ(port.takeWritten(), "?V\r");
    EXPECT_FALSE(progressShown());
    EXPECT_EQ(status(), "COM Opened");
    for (ControlKey key : kMainArea) {
        EXPECT_TRUE(enabled(key)) << key.id;
    }
    for (int id : {1056, 1058, 1059, 1060, 1062, 1064, 1065, 1043, 1061}) {
        EXPECT_TRUE(enabled({Dialog::Main, id})) << id;
    }
}

TEST_F(UpgradeTransferTest, ChineseStatusAndSuccessTexts) {
    const std::string file = sampleImage(2);
    enterLoader(file);
    EXPECT_EQ(status(), "正传输数据>>33%");
    port.takeWritten();
    port.receive(answer(2));
    EXPECT_EQ(status(), "升级已完成66%");
    // Two bytes and the trailing zero fill one data packet.
    EXPECT_EQ(port.takeWritten(),
              bytes({0xA5, 0, 0, 0, 2, 0, 0, 0}) + file + std::string(54, '\0'));
    EXPECT_EQ(mode(), ProtocolMode::LoaderLastData);
    port.receive(answer(3));
    EXPECT_EQ(status(), "串口已打开");
    port.receive(answer(4, sum(file)));
    EXPECT_EQ(status(), "升级已完成100%");
    port.receive(answer(5));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].title, "Halvane提示:");
    EXPECT_EQ(prompts.shown[0].text,
              "恭喜你升级成功!\r\r请根据您的需要重新设置飞控各项参数，并重做水平校准与罗盘校准!"
              "\r\r<若是第一次使用Kivrel飞控，您还需先做油门行程校准!>");
    EXPECT_EQ(status(), "串口已打开");
}

TEST_F(UpgradeTransferTest, AWrongBlockNumberEndsTheTransferInEveryPacketMode) {
    english();
    const std::string file = sampleImage(111);

    enterLoader(file);
    port.takeWritten();
    port.receive(answer(1));  // the start packet again
    expectFailed("Data Send Err，Please Update again!");
    EXPECT_EQ(port.takeWritten(), "");

    enterLoader(file);
    port.receive(answer(2));
    port.receive(answer(3));
    port.takeWritten();
    port.receive(answer(3));  // mode 4: the last data packet not taken
    expectFailed("Data Error，Please Update again!");
    EXPECT_EQ(port.takeWritten(), "");

    enterLoader(file);
    port.receive(answer(2));
    port.receive(answer(3));
    port.receive(answer(4));
    port.takeWritten();
    port.receive(answer(6, sum(file)));  // mode 5: a block too far
    expectFailed("Data Error，Please Update again!");

    enterLoader(file);
    port.receive(answer(2));
    port.receive(answer(3));
    port.receive(answer(4));
    port.receive(answer(5, sum(file)));
    port.takeWritten();
    port.receive(answer(0x0106));  // mode 6: right low byte, wrong high byte
    expectFailed("Data Error，Please Update again!");
    EXPECT_EQ(port.takeWritten(), "");
}

TEST_F(UpgradeTransferTest, AChecksumThatDiffersSendsNoConfirm) {
    const std::string file = sampleImage(111);
    enterLoader(file);
    port.receive(answer(2));
    port.receive(answer(3));
    port.receive(answer(4));
    port.takeWritten();
    port.receive(answer(5, sum(file) + 1));
    expectFailed("数据校验错误，请重新升级!");
    EXPECT_EQ(prompts.shown.back().title, "Halvane提示:");
    EXPECT_EQ(port.takeWritten(), "");
}

TEST_F(UpgradeTransferTest, AnswersInPiecesAreAssembledButTwoInOneReadStall) {
    const std::string file = sampleImage(200);
    enterLoader(file);
    port.takeWritten();

    // One answer over three reads.
    const std::string second = answer(2);
    port.receive(second.substr(0, 5));
    port.receive(second.substr(5, 50));
    EXPECT_EQ(port.takeWritten(), "");
    port.receive(second.substr(55));
    EXPECT_EQ(blockOf(port.takeWritten()), 2u);

    // The next answer arrives with the start of another: the count passes 64 and nothing goes.
    port.receive(answer(3) + answer(4).substr(0, 8));
    EXPECT_EQ(port.takeWritten(), "");
    port.receive(answer(4).substr(8));
    EXPECT_EQ(port.takeWritten(), "");
    EXPECT_EQ(mode(), ProtocolMode::LoaderData);
    EXPECT_EQ(core.firmware().transfer().block(), 2);

    // A page switch leaves the stalled transfer; the main area stays locked.
    core.onUserAction({ActionKind::Click, ids::main::kPageGps});
    EXPECT_EQ(mode(), ProtocolMode::Idle);
}

TEST_F(UpgradeTransferTest, NothingTimesOut) {
    enterLoader(sampleImage(100));
    port.takeWritten();
    const int reads = clock.reads;
    clock.now += 3'600'000;
    port.event = 1;  // line-state changes read nothing and only repeat the framing test
    for (int i = 0; i < 5; ++i) {
        port.receive("");
    }
    port.event = CMSComm::kCommEventReceive;
    port.receive("");
    EXPECT_EQ(mode(), ProtocolMode::LoaderData);
    EXPECT_EQ(port.takeWritten(), "");
    EXPECT_EQ(clock.reads, reads);
    EXPECT_TRUE(prompts.shown.empty());

    // The answer, however late, carries on.
    port.receive(answer(2));
    EXPECT_EQ(blockOf(port.takeWritten()), 2u);
}

TEST_F(UpgradeTransferTest, AFullBufferGoesOverIn1171DataPackets) {
    const std::string file = sampleImage(FirmwareImage::kCapacity);
    enterLoader(file);
    const std::vector<std::string> packets = runLoader();
    ASSERT_EQ(packets.size(), 1174u);  // start, 1171 data, end, confirm
    std::string sent;
    for (std::size_t i = 1; i <= 1171; ++i) {
        EXPECT_EQ(blockOf(packets[i]), i + 1);
        sent += packets[i].substr(8);
    }
    // The file, its trailing zero, and the padding of the last packet.
    EXPECT_EQ(sent, file + std::string(1171 * 56 - file.size(), '\0'));
    EXPECT_EQ(packets[1172], UpgradePacket::end(1173, sum(file)));
    EXPECT_EQ(packets[1173], UpgradePacket::confirm(1174));
    EXPECT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(mode(), ProtocolMode::Idle);
}

TEST_F(UpgradeTransferTest, RefreshPutsTheTransferBackToItsStart) {
    enterLoader(sampleImage(300));
    port.receive(answer(2));
    ASSERT_TRUE(progressShown());
    click(ids::main::kRefresh);
    EXPECT_EQ(mode(), ProtocolMode::Idle);
    EXPECT_FALSE(progressShown());
    EXPECT_EQ(core.firmware().transfer().block(), 0);
    EXPECT_EQ(core.firmware().transfer().checksum(), 0u);
    EXPECT_EQ(core.firmware().transfer().tag(), "");
    EXPECT_FALSE(enabled(ids::main::kUpgrade));
}

TEST_F(UpgradeTransferTest, SuccessClearsTheLiveMonitorChannels) {
    ASSERT_TRUE(choose(sampleImage(2)));
    click(ids::custom::kDataDisplay);
    port.receive(std::string("CHDA") + "15001500110019001000120018002000" + "\r\n");
    ASSERT_EQ(core.monitor().values().receiver[0], 1500);

    click(ids::main::kUpgrade);
    port.receive("QDMC");
    port.receive("RADY");
    port.takeWritten();
    port.receive(answer(2));
    port.receive(answer(3));
    port.receive(answer(4, sum(sampleImage(2))));
    port.receive(answer(5));
    ASSERT_EQ(prompts.shown.size(), 1u);
    for (int value : core.monitor().values().receiver) {
        EXPECT_EQ(value, 0);
    }
    for (int value : core.monitor().values().outputs) {
        EXPECT_EQ(value, 0);
    }
}

}  // namespace
}  // namespace orva
