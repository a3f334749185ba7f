#include <gtest/gtest.h>

#include "sim/ControllerModel.h"
#include "support/LoaderBytes.h"

namespace orva::sim {
namespace {

using test::le32Bytes;
using test::loaderPacket;

std::string ask(ControllerModel& model, std::string_view bytes) {
    std::string out;
    for (const Outgoing& m : model.receive(bytes)) {
        out += m.bytes;
    }
    return out;
}

// The answer: the type echoed, the block expected next and the checksum so far.
std::string answer(unsigned char type, std::uint32_t expected, std::uint32_t checksum) {
    return loaderPacket(type, expected, le32Bytes(checksum));
}

// Bytes 1 to 60: the first data packet full, the second 4 bytes and zeros.
std::string image() {
    std::string out;
    for (int i = 1; i <= 60; ++i) {
        out.push_back(static_cast<char>(i));
    }
    return out;
}

struct Step {
    std::string sent;
    std::string answer;
};

TEST(UpgradeLoaderTest, ASixtyByteImageGoesThroughPacketByPacket) {
    ControllerModel model;
    model.receive("S~0001\r");
    EXPECT_EQ(ask(model, "UPQDMC\r"), "RADY\r\n");
    EXPECT_TRUE(model.inLoader());
    EXPECT_FALSE(model.streaming());

    const std::string bytes = image();
    // 1 + 2 + ... + 56 = 1596; then 57 + 58 + 59 + 60 = 234 more: 1830 = 0x726.
    const Step steps[] = {
        {loaderPacket(0xA5, 2, bytes.substr(0, 56)), answer(0xA5, 1, 0)},  // before the start
        {loaderPacket(0xA0, 1), answer(0xA0, 2, 0)},
        {loaderPacket(0xA5, 2, bytes.substr(0, 56)), answer(0xA5, 3, 1596)},
        {loaderPacket(0xA5, 2, bytes.substr(0, 56)), answer(0xA5, 3, 1596)},  // again: no change
        {loaderPacket(0xA5, 9, bytes.substr(56)), answer(0xA5, 3, 1596)},     // ahead: no change
        {loaderPacket(0xA6, 3), answer(0xA6, 3, 1596)},  // a confirm before the end
        {loaderPacket(0xA5, 3, bytes.substr(56)), answer(0xA5, 4, 1830)},
        {loaderPacket(0xC8, 4, le32Bytes(1830)), answer(0xC8, 5, 1830)},
        {loaderPacket(0xA6, 5), answer(0xA6, 6, 1830)},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        EXPECT_EQ(ask(model, steps[i].sent), steps[i].answer) << "step " << i;
    }
    EXPECT_FALSE(model.inLoader());
    const auto received = model.takeCompletedImage();
    ASSERT_TRUE(received.has_value());
    EXPECT_EQ(std::string(received->begin(), received->end()), bytes + std::string(52, '\0'));
    EXPECT_FALSE(model.takeCompletedImage().has_value());
    EXPECT_EQ(ask(model, "?V\r"), "?V\r=1220\r\n");  // the command language again
}

TEST(UpgradeLoaderTest, BytesArriveSinglyOrAfterNoiseAndACommandLeavesTheLoader) {
    ControllerModel model;
    ask(model, "UPQDMC\r");
    // Noise that opens no packet is passed over.
    EXPECT_EQ(ask(model, std::string("\x01\x02\xff\r\n", 5) + loaderPacket(0xA0, 1)),
              answer(0xA0, 2, 0));
    std::string answers;
    for (char byte : loaderPacket(0xA5, 2, std::string(56, '\x02'))) {
        answers += ask(model, std::string_view(&byte, 1));
    }
    EXPECT_EQ(answers, answer(0xA5, 3, 112));
    // A tool that gave up speaks the command language again.
    EXPECT_EQ(ask(model, "?V\r"), "?V\r=1220\r\n");
    EXPECT_FALSE(model.inLoader());
    EXPECT_FALSE(model.takeCompletedImage().has_value());
}

}  // namespace
}  // namespace orva::sim
