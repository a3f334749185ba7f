#include <gtest/gtest.h>

#include "LoaderPackets.h"
#include "Wire.h"
#include "protocol/Frames.h"
#include "sim/ControllerModel.h"

namespace orva::sim {
namespace {

using test::le32;
using test::packet;
using test::wire;

// Brings a controller into its loader the way the tool does.
void enterLoader(ControllerModel& model, std::string_view command, std::string_view ready) {
    model.receive(frames::kMonitorStart);
    EXPECT_EQ(wire(model.receive(command)), std::string(ready) + "\r\n");
    EXPECT_TRUE(model.inLoader());
    EXPECT_FALSE(model.streaming());
}

TEST(UpgradeLoaderTest, OddSizedImageGoesThroughWithMatchingChecksum) {
    ControllerModel model;
    enterLoader(model, frames::kUpgradeEnterQdmc, frames::kReadyQdmc);

    const auto image = test::sampleImage(1000);
    const test::Transfer transfer = test::transferOf(image);
    ASSERT_EQ(transfer.lastDataBlock, 19u);  // start packet, 18 data packets
    ASSERT_EQ(transfer.packets.size(), 21u);

    for (std::size_t i = 0; i < transfer.packets.size(); ++i) {
        const std::string& sent = transfer.packets[i];
        std::vector<Outgoing> answers;
        if (i == 3) {
            // One packet arriving a byte at a time is assembled all the same.
            for (char byte : sent) {
                auto part = model.receive(std::string_view(&byte, 1));
                answers.insert(answers.end(), part.begin(), part.end());
            }
        } else {
            answers = model.receive(sent);
        }
        ASSERT_EQ(answers.size(), 1u) << i;
        const std::string& answer = answers[0].bytes;
        ASSERT_EQ(answer.size(), frames::kPacketSize);
        EXPECT_EQ(answers[0].kind, Outgoing::Kind::LoaderAnswer);
        EXPECT_EQ(static_cast<unsigned char>(answer[0]),
                  static_cast<unsigned char>(sent[0]));                   // the type answered
        EXPECT_EQ(le32(answer, 4), le32(sent, 4) + 1) << "packet " << i;  // block expected next
        if (static_cast<unsigned char>(sent[0]) == frames::kPacketEnd) {
            EXPECT_EQ(le32(answer, 8), transfer.checksum);  // the controller's own checksum
        }
    }

    EXPECT_FALSE(model.inLoader());
    auto received = model.takeCompletedImage();
    ASSERT_TRUE(received.has_value());
    ASSERT_EQ(received->size(), 18u * 56u);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), received->begin()));
    EXPECT_TRUE(std::all_of(received->begin() + 1000, received->end(),
                            [](std::uint8_t b) { return b == 0; }));
    EXPECT_FALSE(model.takeCompletedImage().has_value());
    // The command language runs again.
    EXPECT_EQ(wire(model.receive("?V\r")), "?V\r=1220\r\n");
}

TEST(UpgradeLoaderTest, LoaderEntryFollowsTheTag) {
    ControllerModel qdec({.tag = "QDEC"});
    EXPECT_EQ(wire(qdec.receive(frames::kUpgradeEnterQdmc)), "");
    EXPECT_FALSE(qdec.inLoader());
    enterLoader(qdec, frames::kUpgradeEnterQdec, frames::kReadyQdec);
}

TEST(UpgradeLoaderTest, PacketsOutOfTurnAreAnsweredWithTheBlockStillExpected) {
    ControllerModel model;
    enterLoader(model, frames::kUpgradeEnterQdmc, frames::kReadyQdmc);
    const std::uint8_t data[56] = {1, 2, 3};

    // A data packet before the start packet.
    EXPECT_EQ(le32(wire(model.receive(packet(frames::kPacketData, 2, data, 56))), 4), 1u);
    EXPECT_EQ(le32(wire(model.receive(packet(frames::kPacketStart, 1))), 4), 2u);
    EXPECT_EQ(le32(wire(model.receive(packet(frames::kPacketData, 2, data, 56))), 4), 3u);
    // The same block again, and one skipped ahead, change nothing.
    EXPECT_EQ(le32(wire(model.receive(packet(frames::kPacketData, 2, data, 56))), 4), 3u);
    EXPECT_EQ(le32(wire(model.receive(packet(frames::kPacketData, 9, data, 56))), 4), 3u);
    // A confirm before the end packet is not taken either.
    EXPECT_EQ(le32(wire(model.receive(packet(frames::kPacketConfirm, 3))), 4), 3u);
    EXPECT_EQ(model.loader().image().size(), 56u);
    EXPECT_EQ(model.loader().checksum(), 6u);
    EXPECT_TRUE(model.inLoader());
}

TEST(UpgradeLoaderTest, BytesBetweenPacketsAreSkippedAndACommandLeavesTheLoader) {
    ControllerModel model;
    enterLoader(model, frames::kUpgradeEnterQdmc, frames::kReadyQdmc);
    // Noise that opens no packet is passed over; the packet after it is read whole.
    const std::string noise("\x01\x02\xff\r\n", 5);
    EXPECT_EQ(le32(wire(model.receive(noise + packet(frames::kPacketStart, 1))), 4), 2u);
    EXPECT_TRUE(model.inLoader());
    // A tool that gave up on the transfer speaks the command language again.
    EXPECT_EQ(wire(model.receive("?V\r")), "?V\r=1220\r\n");
    EXPECT_FALSE(model.inLoader());
    EXPECT_FALSE(model.takeCompletedImage().has_value());
}

}  // namespace
}  // namespace orva::sim
