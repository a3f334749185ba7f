#include <gtest/gtest.h>

#include <random>

#include "sim/ControllerModel.h"

namespace orva::sim {
namespace {

std::string ask(ControllerModel& model, std::string_view bytes) {
    std::string out;
    for (const Outgoing& m : model.receive(bytes)) {
        out += m.bytes;
    }
    return out;
}

// What the controller sends back for each command, in order, on one clean line.
struct Script {
    const char* name;
    ControllerOptions options;
    std::vector<std::pair<std::string, std::string>> steps;
};

const Script kScripts[] = {
    {"power-on set 1",
     {},
     {
         {"?V\r", "?V\r=1220\r\n"},  // query repeated, '=', four digits, CR LF
         {"?C\r", "?C\r=0055\r\n"},
         {"?A\r", "?A\r=0005\r\n"},
         {"?L\r", "?L\r=0340\r\n"},
         {"?M\r", "?M\r=0063\r\n"},
         {"?<\r", "?<\r=0021\r\n"},
         {"?H\r", "?H\r=0102\r\n"},
         {"?Q\r", "?Q\r=0180\r\n"},
         {"?4\r", "?4\r=3950\r\n"},
         {"?k\r", "?k\r=0004\r\n"},
         {"?n\r", "?n\r=5300\r\n"},
         {"?z\r", "?z\r=0010\r\n"},
         {"?j\r", "?j\r=0001\r\n"},
     }},
    {"sets are acknowledged and kept",
     {},
     {
         {"SC0037\r", "SC0037\r\n"},  // the command and LF
         {"?C\r", "?C\r=0037\r\n"},
         {"SD45\r", "SD0045\r\n"},  // fewer digits still make a set
         {"?D\r", "?D\r=0045\r\n"},
         {"Sn5400\r", "Sn5400\r\n"},
         {"?n\r", "?n\r=5400\r\n"},
         {"SN0129\r", "SN0129\r\n"},
         {"?N\r", "?N\r=0129\r\n"},
         {"SV0999\r", "SV0999\r\n"},  // the version is reported, not taken
         {"?V\r", "?V\r=1220\r\n"},
     }},
    {"calibration sets the cells from the tap voltages",
     {},
     {
         {"S00370\r", "S00370\r\n"},
         {"S10750\r", "S10750\r\n"},
         {"S21110\r", "S21110\r\n"},
         {"S31500\r", "S31500\r\n"},
         {"?4\r", "?4\r=3700\r\n"},
         {"?5\r", "?5\r=3800\r\n"},
         {"?6\r", "?6\r=3600\r\n"},
         {"?7\r", "?7\r=3900\r\n"},
     }},
    {"default sets",
     {},
     {
         {"SQ0170\r", "SQ0170\r\n"},  // not part of any set
         {"Sj0000\r", "Sj0000\r\n"}, {"?B\r", "?B\r=0007\r\n"},
         {"?P\r", "?P\r=0007\r\n"},  {"?M\r", "?M\r=0047\r\n"},
         {"?e\r", "?e\r=0016\r\n"},  {"?Q\r", "?Q\r=0170\r\n"},
         {"?j\r", "?j\r=0000\r\n"},  {"Sj0002\r", "Sj0002\r\n"},
         {"?A\r", "?A\r=0009\r\n"},  {"?C\r", "?C\r=0060\r\n"},
         {"?f\r", "?f\r=2048\r\n"},  {"Sj0003\r", "Sj0003\r\n"},
         {"?=\r", "?=\r=1024\r\n"},  {"?L\r", "?L\r=0360\r\n"},
         {"SC0001\r", "SC0001\r\n"}, {"Sj0002\r", "Sj0002\r\n"},  // loaded again, whatever changed
         {"?C\r", "?C\r=0060\r\n"},  {"SC0042\r", "SC0042\r\n"},
         {"Sj0004\r", "Sj0004\r\n"},  // a restore from a file: nothing loaded
         {"?C\r", "?C\r=0042\r\n"},  {"?j\r", "?j\r=0004\r\n"},
     }},
    {"old firmware keeps the gimbal scales 100 higher",
     {.firmwareVersion = 1211},
     {
         {"?V\r", "?V\r=1211\r\n"},
         {"?J\r", "?J\r=0150\r\n"},
         {"?K\r", "?K\r=0155\r\n"},
         {"?%\r", "?%\r=0145\r\n"},
         {"?)\r", "?)\r=0045\r\n"},
     }},
    {"monitor and loader entry",
     {},
     {
         {"S~0001\r", "S~0001\r\n"},
         {"S~0000\r", "S~0000\r\n"},
         {"?W\r", "HALVANE KIVREL QDMC1220"},
         {"UPQDEC\r", ""},
         {"UPQDMC\r", "RADY\r\n"},
     }},
    {"QDEC loader",
     {.tag = "QDEC"},
     {
         {"?W\r", "HALVANE KIVREL QDEC1220"},
         {"UPQDMC\r", ""},
         {"UPQDEC\r", "RADE\r\n"},
     }},
    {"silent codes",
     {.silentCodes = "CW"},
     {
         {"?C\r", ""},
         {"SC0010\r", ""},
         {"?W\r", ""},
         {"?A\r", "?A\r=0005\r\n"},
     }},
    {"garbage is dropped at the next CR",
     {},
     {
         {"?X\r", ""},  // no such parameter
         {"SX0001\r", ""},
         {"hello\r", ""},
         {std::string("S~00\x01\r"), ""},
         {std::string("\xff\x00zz?C\r", 7), "?C\r=0055\r\n"},  // noise before a command
         {"SC0", ""},                                          // merges into the next line
         {"?A\r", "?A\r=0005\r\n"},
         {std::string(5000, 'x') + "?V\r", "?V\r=1220\r\n"},  // a long run is cut
     }},
};

TEST(ControllerModelTest, ScriptsAnswerByteForByte) {
    for (const Script& script : kScripts) {
        SCOPED_TRACE(script.name);
        ControllerModel model(script.options);
        for (const auto& [sent, answer] : script.steps) {
            EXPECT_EQ(ask(model, sent), answer) << sent;
        }
    }
}

TEST(ControllerModelTest, FramesAreReportedAsUnderstoodOrNot) {
    ControllerModel model;
    std::vector<std::pair<std::string, bool>> frames;
    model.setFrameListener([&](std::string_view frame, bool understood) {
        frames.emplace_back(std::string(frame), understood);
    });
    ask(model, "?X\r");
    ask(model, std::string("\xff\x00zz?C\r", 7));
    const std::vector<std::pair<std::string, bool>> expected = {
        {"?X\r", false}, {std::string("\xff\x00zz", 4), false}, {"?C\r", true}};
    EXPECT_EQ(frames, expected);

    // After any noise, a CR and a query are answered.
    std::mt19937 random(7);
    std::string noise;
    for (int i = 0; i < 20000; ++i) {
        noise.push_back(static_cast<char>(random() & 0xFF));
    }
    model.receive(noise);
    EXPECT_EQ(ask(model, "\r?V\r"), "?V\r=1220\r\n");
}

}  // namespace
}  // namespace orva::sim
