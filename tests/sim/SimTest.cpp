#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "sim/ControllerModel.h"
#include "sim/FaultInjector.h"
#include "sim/SimCommandLine.h"
#include "sim/WireLog.h"

namespace orva::sim {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

std::string ask(ControllerModel& model, std::string_view bytes) {
    std::string out;
    for (const Outgoing& m : model.receive(bytes)) {
        out += m.bytes;
    }
    return out;
}

// What the controller sends back for each command, in order, on one clean line: a query
// repeated, '=', four digits, CR LF; a set command (fewer digits still make one) and LF.
struct Script {
    const char* name;
    ControllerOptions options;
    std::vector<std::string> steps;  // sent, answer, sent, answer...
};

const Script kScripts[] = {
    {"power-on set 1",
     {},
     {"?V\r", "?V\r=1220\r\n", "?<\r", "?<\r=0021\r\n", "?H\r", "?H\r=0102\r\n", "?Q\r",
      "?Q\r=0180\r\n", "?k\r", "?k\r=0004\r\n", "?n\r", "?n\r=5300\r\n", "?z\r", "?z\r=0010\r\n",
      "?j\r", "?j\r=0001\r\n"}},
    // Sets are kept, the version only reported; calibration sets the cells from the tap voltages;
    // the loader entered by its own tag.
    {"commands", {}, {"SC0037\r", "SC0037\r\n",
                      "?C\r",     "?C\r=0037\r\n",
                      "SD45\r",   "SD0045\r\n",
                      "SV0999\r", "SV0999\r\n",
                      "?V\r",     "?V\r=1220\r\n",
                      "S00370\r", "S00370\r\n",
                      "S10750\r", "S10750\r\n",
                      "S21110\r", "S21110\r\n",
                      "S31500\r", "S31500\r\n",
                      "?4\r",     "?4\r=3700\r\n",
                      "?5\r",     "?5\r=3800\r\n",
                      "?6\r",     "?6\r=3600\r\n",
                      "?7\r",     "?7\r=3900\r\n",
                      "?W\r",     "HALVANE KIVREL QDMC1220",
                      "UPQDEC\r", "",
                      "UPQDMC\r", "RADY\r\n"}},
    // Q is in no set; set 2 is loaded again whatever changed; 4 (a restore) loads nothing.
    {"default sets",
     {},
     {"SQ0170\r", "SQ0170\r\n",    "Sj0000\r", "Sj0000\r\n",    "?B\r",     "?B\r=0007\r\n",
      "?P\r",     "?P\r=0007\r\n", "?M\r",     "?M\r=0047\r\n", "?e\r",     "?e\r=0016\r\n",
      "?Q\r",     "?Q\r=0170\r\n", "?j\r",     "?j\r=0000\r\n", "Sj0002\r", "Sj0002\r\n",
      "?A\r",     "?A\r=0009\r\n", "?C\r",     "?C\r=0060\r\n", "?f\r",     "?f\r=2048\r\n",
      "Sj0003\r", "Sj0003\r\n",    "?=\r",     "?=\r=1024\r\n", "?L\r",     "?L\r=0360\r\n",
      "SC0001\r", "SC0001\r\n",    "Sj0002\r", "Sj0002\r\n",    "?C\r",     "?C\r=0060\r\n",
      "SC0042\r", "SC0042\r\n",    "Sj0004\r", "Sj0004\r\n",    "?C\r",     "?C\r=0042\r\n",
      "?j\r",     "?j\r=0004\r\n"}},
    {"old firmware keeps the gimbal scales and the roll and Z limits 100 higher; the other loader",
     {.firmwareVersion = 1211, .tag = "QDEC"},
     {"?V\r",     "?V\r=1211\r\n", "?J\r", "?J\r=0150\r\n",           "?K\r",     "?K\r=0155\r\n",
      "?%\r",     "?%\r=0145\r\n", "?)\r", "?)\r=0145\r\n",           "?+\r",     "?+\r=0140\r\n",
      "?_\r",     "?_\r=0045\r\n", "?W\r", "HALVANE KIVREL QDEC1211", "UPQDMC\r", "",
      "UPQDEC\r", "RADE\r\n"}},
    // Noise before a command, and a cut command merging into the next line; a long run is cut.
    {"garbage is dropped at the next CR",
     {},
     {"?X\r", "", "SX0001\r", "", "hello\r", "", std::string("S~00\x01\r"), "",
      std::string("\xff\x00zz?C\r", 7), "?C\r=0055\r\n", "SC0", "", "?A\r", "?A\r=0005\r\n",
      std::string(5000, 'x') + "?V\r", "?V\r=1220\r\n"}},
};

TEST(ControllerModel, ScriptsAnswerByteForByte) {
    for (const Script& script : kScripts) {
        SCOPED_TRACE(script.name);
        ControllerModel model(script.options);
        for (std::size_t i = 0; i + 1 < script.steps.size(); i += 2) {
            EXPECT_EQ(ask(model, script.steps[i]), script.steps[i + 1]) << script.steps[i];
        }
    }
}

int field(const std::string& frame, std::size_t at, std::size_t width = 4) {
    return std::stoi(frame.substr(at, width));
}

// 38 bytes each: tag, eight four-digit fields (or the sensor fields), CR LF. Sensors: ultrasonic
// mm 4-7, barometric dm 8-11, heading 12-14, vibration 15-16, longitude 17-26 (sign, 3 + 6
// digits), latitude 27-35 (sign, 2 + 6 digits).
TEST(ControllerModel, MonitorFramesKeepTheirLayoutWhileTheCraftMoves) {
    ControllerModel model;
    std::set<int> roll, ch5, longitudeSigns;
    for (double t = 0; t < 60; t += 0.137) {
        std::string f[3];
        for (int i = 0; i < 3; ++i) {
            f[i] = model.monitorFrame(t).bytes;
            ASSERT_EQ(f[i].size(), 38u);
            EXPECT_EQ(f[i].substr(0, 4) + f[i].substr(36),
                      std::string("CHDAMSDASSDA", 4 * i, 4) + "\r\n");
        }
        for (std::size_t k = 0; k < 8; ++k) {
            EXPECT_GE(field(f[0], 4 + 4 * k), 1000);
            EXPECT_LE(field(f[1], 4 + 4 * k), 2000);
        }
        const std::string& s = f[2];
        EXPECT_EQ(std::count_if(s.begin() + 4, s.begin() + 36, ::isdigit), 30) << s;  // and 2 signs
        EXPECT_LT(field(s, 12, 3), 360);
        EXPECT_EQ(s.substr(27, 3), "+51") << s;  // the field near Greenwich
        roll.insert(field(f[0], 4));
        ch5.insert(field(f[0], 20));
        longitudeSigns.insert(s[17]);
    }
    EXPECT_GT(roll.size(), 100u);                          // the sticks sweep
    EXPECT_EQ(ch5, (std::set<int>{1100, 1500, 1900}));     // a three-position switch
    EXPECT_EQ(longitudeSigns, (std::set<int>{'+', '-'}));  // the track crosses the meridian
}

TEST(ControllerModel, ReversedChannelsReadMirrored) {
    ControllerModel plain, reversed;
    reversed.receive("SN0001\rSO0128\r");  // receiver CH1, output M/S8
    const std::string a = plain.monitorFrame(2.3).bytes, b = reversed.monitorFrame(2.3).bytes;
    EXPECT_EQ(std::pair(field(a, 4) + field(b, 4), field(a, 8)), std::pair(3000, field(b, 8)));
    const std::string c = plain.monitorFrame(2.3).bytes, d = reversed.monitorFrame(2.3).bytes;
    EXPECT_EQ(std::pair(field(c, 32) + field(d, 32), field(c, 4)), std::pair(3000, field(d, 4)));
}

const std::string kMonitor = "CHDA15001500150015001500150015001500\r\n";

// A message as it reaches the wire: a monitor frame, a 64-byte loader answer or a reply, its
// writes joined by '|', a pause before a write as "<N us>", "#" when the line closes after them.
std::string wire(const WirePlan& plan) {
    std::string out;
    for (const WireWrite& w : plan.writes) {
        out += &w == &plan.writes[0] ? "" : "|";
        out += w.delay.count() == 0 ? "" : "<" + std::to_string(w.delay.count()) + " us>";
        out += w.bytes;
    }
    return plan.closeLine ? out + "#" : out;
}

std::string wire(FaultInjector& line, const std::string& bytes) {
    using enum Outgoing::Kind;
    return wire(line.shape({bytes.starts_with("CHDA") ? Monitor
                            : bytes.size() == 64      ? LoaderAnswer
                                                      : Reply,
                            bytes}));
}

TEST(FaultInjector, CountedFaultsShapeTheirMessages) {
    const std::string a64(64, 'a'), b64(64, 'b'), b32(32, 'b'), mon = kMonitor;
    const struct {
        const char* name;
        FaultOptions faults;
        std::vector<std::string> steps;  // message, wire, message, wire...
    } cases[] = {
        {"drop every 2nd answer; monitor frames pass",
         {.dropEvery = 2},
         {"a", "a", mon, mon, "b", "", mon, mon, "c", "c"}},
        {"invert byte 4 of every 2nd answer, or the last byte of a shorter one",
         {.corruptEvery = 2, .corruptByte = 4},
         {"?C\r=0050\r\n", "?C\r=0050\r\n", "?A\r=0005\r\n",
          "?A\r=\xCF"
          "005\r\n",
          "?B\r=0007\r\n", "?B\r=0007\r\n", "RADY", "RAD\xA6"}},
        {"join each answer with the next; a monitor frame takes a held one along",
         {.joinEvery = 1},
         {"one.", "", "two.", "one.two.", "3.", "", mon, "3." + mon}},
        {"stall the 2nd loader answer in the middle",
         {.stallPacket = 2, .stallTime = 250ms},
         {"RADY\r\n", "RADY\r\n", a64, a64, b64, b32 + "|<250000 us>" + b32, a64, a64}},
        {"a stall without an end", {.stallPacket = 1}, {b64, b32}},
        {"a late line end follows its text; a word without one goes whole",
         {.lateLineEnd = 3ms},
         {"SC0045\r\n", "SC0045\r|<3000 us>\n", mon, mon.substr(0, 37) + "|<3000 us>\n", "RADY",
          "RADY"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FaultInjector line(c.faults);
        for (std::size_t i = 0; i + 1 < c.steps.size(); i += 2) {
            EXPECT_EQ(wire(line, c.steps[i]), c.steps[i + 1]);
        }
    }
}

// Answers to commands sent back to back leave within the adapter's window and go in one write;
// what is held goes alone once its window has passed, and a full loader answer never waits.
TEST(FaultInjector, AJoinWindowWritesTheAnswersWithinItTogether) {
    const std::string a64(64, 'a');
    FaultInjector line({.joinWindow = 20ms});
    const std::vector<std::string> held = {wire(line, "Sj0004\r\n"), wire(line, "SC0045\r\n")};
    EXPECT_EQ(held, (std::vector<std::string>{"", ""}));
    EXPECT_EQ(std::pair(line.holding(), line.holdLimit()), std::pair(true, 20ms));
    EXPECT_EQ(wire(line.release()), "Sj0004\r\nSC0045\r\n");
    EXPECT_EQ(wire(line.release()), "");
    EXPECT_EQ(wire(line, "SA0004\r\n"), "");
    EXPECT_EQ(wire(line, a64), "SA0004\r\n" + a64);  // a full packet goes at once, with company
    EXPECT_FALSE(line.holding());
    FaultInjector counted({.joinEvery = 2});
    const std::vector<std::string> two = {wire(counted, "one."), wire(counted, "two.")};
    EXPECT_EQ(two, (std::vector<std::string>{"one.", ""}));
    EXPECT_EQ(std::pair(counted.holdLimit(), wire(counted.release())), std::pair(16ms, "two."s));
}

// Without the pauses the pieces make the frame; none is empty; there is more than one.
TEST(FaultInjector, SplitCutsWritesIntoPausedPiecesThatAddUp) {
    FaultInjector line({.split = true, .splitGap = 700us, .seed = 5});
    const std::string pieces = wire(line, kMonitor);
    EXPECT_EQ(std::regex_replace(pieces, std::regex("\\|<700 us>"), ""), kMonitor) << pieces;
    EXPECT_TRUE(pieces.find("|<700 us>") != 0 && pieces.find("|<700 us>|") == std::string::npos);
    EXPECT_NE(pieces, kMonitor);
}

TEST(SimCommandLine, DurationsInTheirUnitsAndBadArgumentsRefusedWithAReason) {
    const auto r = SimCommandLine::parse({"--stall-time", "150", "--split-gap", "300", "--help"});
    EXPECT_EQ(std::tuple(r.options.faults.stallTime, r.options.faults.splitGap, r.help),
              std::tuple(150ms, 300us, true));
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--bogus"}, "Unknown option 'bogus'."},
        {{"--log"}, "Missing value after '--log'."},
        {{"--seed=x"}, "--seed takes a number from 0 to 4294967295, not \"x\""},
        {{"--", "--split"}, "Unexpected argument '--split'."},
        {{"--firmware", "12x"}, "--firmware takes a number from 0 to 9999, not \"12x\""},
        {{"--upgrade-to", "0"}, "--upgrade-to takes a number from 1 to 9999, not \"0\""},
    };
    for (const auto& [arguments, error] : cases) {
        EXPECT_EQ(SimCommandLine::parse(arguments).error, error);
    }
    EXPECT_EQ(SimCommandLine::parse({"--upgrade-to", "1211"}).options.controller.upgradeTo, 1211);
    EXPECT_TRUE(SimCommandLine::parse({"--version"}).version);
    EXPECT_EQ(SimCommandLine::parse({"--firmware=1300"}).options.controller.firmwareVersion, 1300);
    EXPECT_TRUE(!SimCommandLine::parse({"--default-set", "4"}).error.empty() &&
                !SimCommandLine::parse({"--tag", "ABCD"}).error.empty());
    EXPECT_EQ(WireLog::escape(std::string("?C\r=0050\r\n\xA0\x00\\", 13)),
              "?C\\r=0050\\r\\n\\xA0\\x00\\\\");
}

}  // namespace
}  // namespace orva::sim
