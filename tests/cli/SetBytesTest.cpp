#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cli/ParameterRow.h"
#include "core/OrvaCore.h"
#include "settings/ParameterCatalogue.h"
#include "support/Fakes.h"

namespace orva::cli {
namespace {

// A freshly started core, its start-up query taken off the line: no firmware read yet, every
// box clear.
struct Face {
    Face() {
        core.initialise();
        port.takeWrites();
    }
    std::vector<std::string> writes() {
        std::vector<std::string> out;
        for (const test::FakePort::Write& w : port.takeWrites()) {
            out.push_back(w.bytes);
        }
        return out;
    }
    test::FakeClock clock;
    test::FakePort port{clock};
    test::ScriptedPrompts prompts;
    test::MemoryFiles files;
    OrvaCore core{port, clock, prompts, files};
};

// What `orva-cli set CODE NUMBER` sends against what a user of the window does for the same
// value, both on a fresh core. Before no firmware is known the gimbal scales and limits carry the
// old firmware's 100 offset; a function row is one click after the other boxes took their state;
// heading lock and headless each send the other row 20 ms after their own.
TEST(SetBytes, EverySetSendsWhatTheWindowSendsForTheSameValue) {
    using K = ActionKind;
    using D = Dialog;
    struct Case {
        char code;
        int shown;                                // as orva-cli takes it
        std::vector<std::pair<int, int>> before;  // controls the user set first: id, value
        K kind;
        D dialog;
        int id;
        int value;
        std::string text;
        std::vector<std::string> bytes;  // every write, in order
    };
    const Case cases[] = {
        {'A', 3, {}, K::Select, D::Main, 1032, 3, "", {"SA0004\r", "?V\r"}},
        {'B', 4, {}, K::Select, D::Main, 1033, 4, "", {"SB0007\r"}},
        {'P', 2, {}, K::Select, D::Main, 1215, 2, "", {"SP0004\r"}},
        {'M', 5, {{1056, 1}}, K::Check, D::Main, 1058, 1, "", {"SM0005\r"}},
        {'Q', -5, {}, K::EditCommit, D::Main, 1031, 0, "-5", {}},
        {'C', 40, {}, K::SliderRelease, D::Basic, 1038, 40, "", {"SC0040\r"}},
        {'D', 0, {}, K::SliderRelease, D::Basic, 1039, 0, "", {"SD0000\r"}},
        {'E', 100, {}, K::SliderRelease, D::Basic, 1040, 100, "", {"SE0100\r"}},
        {'F', 7, {}, K::SliderRelease, D::Basic, 1034, 7, "", {"SF0007\r"}},
        {'G', 55, {}, K::SliderRelease, D::Basic, 1035, 55, "", {"SG0055\r"}},
        {'Y', 61, {}, K::SliderRelease, D::Basic, 1247, 61, "", {"SY0061\r"}},
        {'Z', 62, {}, K::SliderRelease, D::Basic, 1248, 62, "", {"SZ0062\r"}},
        {'R', 63, {}, K::SliderRelease, D::Basic, 1249, 63, "", {"SR0063\r"}},
        {'T', 64, {}, K::SliderRelease, D::Basic, 1250, 64, "", {"ST0064\r"}},
        {'`', 65, {}, K::SliderRelease, D::Basic, 1257, 65, "", {"S`0065\r"}},
        {'a', 1, {}, K::Check, D::Custom, 1114, 1, "", {"Sa0001\r"}},
        {'b', 8, {}, K::Check, D::Custom, 113, 1, "", {"Sb0008\r"}},
        {'c', 2048, {}, K::Check, D::Custom, 1244, 1, "", {"Sc2048\r"}},
        {'d', 16, {}, K::Check, D::Custom, 1164, 1, "", {"Sd0016\r", "Sd0016\rSe0000\r"}},
        {'e', 6, {{1138, 1}}, K::Check, D::Custom, 1147, 1, "", {"Se0006\r", "Se0006\rSd0000\r"}},
        {'f', 2049, {{1129, 1}}, K::Check, D::Custom, 1247, 1, "", {"Sf2049\r"}},
        {'=', 4, {}, K::Check, D::Custom, 1251, 1, "", {"S=0004\r"}},
        {'g', 3, {{1130, 1}}, K::Check, D::Custom, 1140, 1, "", {"Sg0003\r"}},
        {'h', 256, {}, K::Check, D::Custom, 1222, 1, "", {"Sh0256\r"}},
        {'i', 128, {}, K::Check, D::Custom, 1196, 1, "", {"Si0128\r"}},
        {'N', 129, {{1197, 1}}, K::Check, D::Custom, 1204, 1, "", {"SN0129\r"}},
        {'O', 2, {}, K::Check, D::Custom, 1208, 1, "", {"SO0002\r"}},
        // The delay's failsafe box is bit 4 of the same number.
        {'<', 21, {{1303, 1}}, K::SliderRelease, D::Custom, 1047, 5, "", {"S<0021\r"}},
        {'<', 9, {}, K::SliderRelease, D::Custom, 1047, 9, "", {"S<0009\r"}},
        {'@', 10, {}, K::SliderRelease, D::Gps, 1039, 10, "", {"S@0010\r"}},
        {'#', 20, {}, K::SliderRelease, D::Gps, 1040, 20, "", {"S#0020\r"}},
        {'$', 30, {}, K::SliderRelease, D::Gps, 1041, 30, "", {"S$0030\r"}},
        {'!', 90, {}, K::SliderRelease, D::Gps, 1239, 90, "", {"S!0090\r"}},
        {'K', 40, {}, K::SliderRelease, D::Gimbal, 1231, 40, "", {"SK0140\r"}},
        {'J', 0, {}, K::SliderRelease, D::Gimbal, 1232, 0, "", {"SJ0100\r"}},
        {'%', 100, {}, K::SliderRelease, D::Gimbal, 1233, 100, "", {"S%0200\r"}},
        {'_', 45, {}, K::SliderRelease, D::Gimbal, 1044, 45, "", {"S_0045\r"}},
        {')', 46, {}, K::SliderRelease, D::Gimbal, 1045, 46, "", {"S)0146\r"}},
        {'+', 47, {}, K::SliderRelease, D::Gimbal, 1046, 47, "", {"S+0147\r"}},
        {'&', 100, {}, K::SliderRelease, D::Gimbal, 1234, 100, "", {"S&0200\r"}},
        {'^', -30, {}, K::SliderRelease, D::Gimbal, 1042, -30, "", {"S^0070\r"}},
        {'(', -100, {}, K::SliderRelease, D::Gimbal, 1043, -100, "", {"S(0000\r"}},
        {'L', 330, {}, K::SliderRelease, D::Voltage, 1055, 330, "", {"SL0330\r"}},
    };
    std::set<char> covered;
    for (const Case& c : cases) {
        Face window;
        for (const auto& [id, value] : c.before) {
            window.core.model().setValue({c.dialog, id}, value);
        }
        window.core.onUserAction({c.kind, {c.dialog, c.id}, c.value, c.text});
        if (c.code == 'Q') {
            // The declination is typed, then sent by its Set button once the user agrees.
            window.core.onUserAction({K::Click, {D::Main, 1018}, 0, {}});
        }
        Face cli;
        ASSERT_TRUE(cli.core.writeSetting(c.code, c.shown)) << c.code;
        const std::vector<std::string> expected =
            c.code == 'Q' ? std::vector<std::string>{"SQ0175\r"} : c.bytes;
        EXPECT_EQ(window.writes(), expected) << c.code << ' ' << c.shown;
        EXPECT_EQ(cli.writes(), expected) << c.code << ' ' << c.shown;
        covered.insert(c.code);
    }
    // Every code orva-cli accepts for a set is in the table.
    for (char code : ParameterRow::readableCodes()) {
        if (ParameterCatalogue::at(code).encoding != Encoding::ReadOnly) {
            EXPECT_TRUE(covered.contains(code)) << code;
        }
    }
}

// Numbers that no state of the controls stands for send nothing.
TEST(SetBytes, ANumberNoControlShowsSendsNothing) {
    const std::pair<char, int> cases[] = {{'A', 16},   {'P', -1}, {'C', 101}, {'L', 279},
                                          {'Q', 181},  {'<', 32}, {'<', 47},  {'^', -101},
                                          {'d', 4096}, {'V', 1},  {'4', 300}};
    for (const auto& [code, shown] : cases) {
        Face cli;
        EXPECT_FALSE(cli.core.writeSetting(code, shown)) << code << ' ' << shown;
        EXPECT_TRUE(cli.writes().empty()) << code << ' ' << shown;
    }
}

}  // namespace
}  // namespace orva::cli
