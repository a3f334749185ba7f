#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "Wire.h"
#include "protocol/Frames.h"
#include "sim/ControllerModel.h"

namespace orva::sim {
namespace {

using test::wire;

std::string ask(ControllerModel& model, std::string_view bytes) {
    return wire(model.receive(bytes));
}

// The value a query reply carries, as the tool reads it.
int readBack(ControllerModel& model, char code) {
    const std::string reply = ask(model, frames::query(code));
    EXPECT_EQ(reply.size(), frames::kReplyLength) << code;
    return std::stoi(reply.substr(4, 4));
}

std::map<char, int> mainChainValues(ControllerModel& model) {
    std::map<char, int> values;
    for (char code : frames::kMainChainCodes) {
        values[code] = readBack(model, code);
    }
    return values;
}

TEST(ControllerModelTest, QueriesAreAnsweredWithTenBytes) {
    ControllerModel model;
    EXPECT_EQ(ask(model, "?V\r"),
              "?V\r"    // the query repeated
              "="       // one separator byte
              "1220"    // firmware version, four digits
              "\r\n");  // two closing bytes

    for (std::string_view chain : {frames::kMainChainCodes, frames::kFrameChainCodes}) {
        for (char code : chain) {
            const std::string reply = ask(model, frames::query(code));
            ASSERT_EQ(reply.size(), frames::kReplyLength) << code;
            EXPECT_EQ(reply.substr(0, 3), frames::query(code));
            EXPECT_TRUE(std::all_of(reply.begin() + 4, reply.begin() + 8, ::isdigit)) << code;
        }
    }

    ControllerModel old({.firmwareVersion = 1211});
    EXPECT_EQ(ask(old, "?V\r"), "?V\r=1211\r\n");
}

TEST(ControllerModelTest, SetsAreAcknowledgedAndReadBack) {
    ControllerModel model;
    EXPECT_EQ(ask(model, "SC0037\r"),
              "SC"      // "S" and the code
              "0037"    // the value kept
              "\r\n");  // 8 bytes in all
    EXPECT_EQ(ask(model, "?C\r"), "?C\r=0037\r\n");

    // The frame codes, and the reverse bits, are kept like any setting.
    int value = 4;
    for (char code : std::string(frames::kFrameChainCodes) + "NO") {
        const std::string ack = ask(model, frames::set(code, value));
        EXPECT_EQ(ack, frames::set(code, value) + "\n");
        EXPECT_EQ(readBack(model, code), value) << code;
        value += 311;
    }

    // Fewer than four digits still make a set command.
    EXPECT_EQ(ask(model, "SD45\r"), "SD0045\r\n");
    EXPECT_EQ(readBack(model, 'D'), 45);

    // The version is reported, not taken.
    EXPECT_EQ(ask(model, "SV0999\r"), "SV0999\r\n");
    EXPECT_EQ(readBack(model, 'V'), 1220);
}

TEST(ControllerModelTest, CalibrationIsAcknowledgedAndSetsTheCellReadings) {
    ControllerModel model;
    // Tap voltages of a pack of four cells of 370, then 380, 360, 390.
    EXPECT_EQ(ask(model, "S00370\r"), "S00370\r\n");
    EXPECT_EQ(ask(model, "S10750\r"), "S10750\r\n");
    EXPECT_EQ(ask(model, "S21110\r"), "S21110\r\n");
    EXPECT_EQ(ask(model, "S31500\r"), "S31500\r\n");
    // Each cell reads ten times what the tool shows.
    EXPECT_EQ(readBack(model, '4'), 3700);
    EXPECT_EQ(readBack(model, '5'), 3800);
    EXPECT_EQ(readBack(model, '6'), 3600);
    EXPECT_EQ(readBack(model, '7'), 3900);
}

TEST(ControllerModelTest, DefaultSetsLoadFourDifferentParameterSets) {
    ControllerModel model;
    ask(model, "SQ0170\r");  // a declination of -10: not part of any set
    std::vector<std::map<char, int>> sets;
    for (int n = 0; n < 4; ++n) {
        const std::string ack = ask(model, frames::set('j', n));
        EXPECT_EQ(ack.substr(0, 3), "Sj0");
        EXPECT_EQ(ack, frames::set('j', n) + "\n");
        sets.push_back(mainChainValues(model));
        EXPECT_EQ(sets.back()['j'], n);
        EXPECT_EQ(sets.back()['Q'], 170);
        // Every value passes the tool's read-back limits.
        for (char code : std::string_view("CDEFG!@#$)_+RT`YZ")) {
            EXPECT_GE(sets.back()[code], 1) << code;
            EXPECT_LE(sets.back()[code], 100) << code;
        }
        EXPECT_GE(sets.back()['L'], 280);
        EXPECT_LE(sets.back()['L'], 400);
    }
    std::set<std::map<char, int>> distinct(sets.begin(), sets.end());
    EXPECT_EQ(distinct.size(), 4u);

    // Loading a set again gives the same values, whatever was changed in between.
    ask(model, "SC0001\r");
    ask(model, "Sj0002\r");
    EXPECT_EQ(mainChainValues(model), sets[2]);

    // Value 4 announces a restore from a file: acknowledged, nothing loaded.
    ask(model, "SC0042\r");
    EXPECT_EQ(ask(model, "Sj0004\r"), "Sj0004\r\n");
    EXPECT_EQ(readBack(model, 'C'), 42);
    EXPECT_EQ(readBack(model, 'B'), sets[2]['B']);
}

TEST(ControllerModelTest, OldFirmwareKeepsGimbalScalesOffsetBy100) {
    ControllerModel current({.firmwareVersion = 1220, .powerOnSet = 0});
    ControllerModel old({.firmwareVersion = 1211, .powerOnSet = 0});
    for (char code : std::string_view("JK%")) {
        EXPECT_EQ(readBack(old, code), readBack(current, code) + 100) << code;
    }
    EXPECT_EQ(readBack(old, ')'), readBack(current, ')'));
}

TEST(ControllerModelTest, FirmwareKindTextEndsWithTheTag) {
    ControllerModel qdmc;
    const std::string text = ask(qdmc, "?W\r");
    ASSERT_GE(text.size(), 8u);
    EXPECT_EQ(text.substr(text.size() - 8), "QDMC1220");

    ControllerModel qdec({.tag = "QDEC"});
    const std::string other = ask(qdec, "?W\r");
    EXPECT_EQ(other.substr(other.size() - 8, 4), "QDEC");
}

TEST(ControllerModelTest, SilentCodesAreNeverAnswered) {
    ControllerModel model({.silentCodes = "CW"});
    EXPECT_EQ(ask(model, "?C\r"), "");
    EXPECT_EQ(ask(model, "SC0010\r"), "");
    EXPECT_EQ(ask(model, "?W\r"), "");
    EXPECT_EQ(ask(model, "?A\r").size(), frames::kReplyLength);
}

TEST(ControllerModelTest, GarbageAndUnknownCodesAreDroppedAtTheNextCr) {
    ControllerModel model;
    std::vector<std::pair<std::string, bool>> frames;
    model.setFrameListener([&](std::string_view frame, bool understood) {
        frames.emplace_back(std::string(frame), understood);
    });

    EXPECT_EQ(ask(model, "?X\r"), "");      // no such parameter
    EXPECT_EQ(ask(model, "SX0001\r"), "");  // no such parameter either
    EXPECT_EQ(ask(model, "hello\r"), "");
    EXPECT_EQ(ask(model, "S~00\x01\r"), "");
    // Noise before a command on the same line is skipped.
    EXPECT_EQ(ask(model, std::string("\xff\x00zz?C\r", 7)), "?C\r=0055\r\n");
    // A half frame without its CR merges into the next line; the command at its end counts.
    EXPECT_EQ(ask(model, "SC0"), "");
    EXPECT_EQ(ask(model, "?A\r"), "?A\r=0005\r\n");
    // A long run without CR is cut; the command that follows is still heard.
    EXPECT_EQ(ask(model, std::string(5000, 'x') + "?V\r"), "?V\r=1220\r\n");

    std::mt19937 random(7);
    std::string noise;
    for (int i = 0; i < 20000; ++i) {
        noise.push_back(static_cast<char>(random() & 0xFF));
    }
    model.receive(noise);
    EXPECT_EQ(ask(model, "\r?V\r"), "?V\r=1220\r\n");

    ASSERT_GE(frames.size(), 6u);
    EXPECT_EQ(frames[0], std::make_pair(std::string("?X\r"), false));
    EXPECT_EQ(frames[2], std::make_pair(std::string("hello\r"), false));
    EXPECT_EQ(frames[4], std::make_pair(std::string("\xff\x00zz", 4), false));
    EXPECT_EQ(frames[5], std::make_pair(std::string("?C\r"), true));
}

}  // namespace
}  // namespace orva::sim
