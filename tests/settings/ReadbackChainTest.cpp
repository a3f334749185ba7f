#include <algorithm>
#include <ranges>
#include <string_view>

#include "support/CoreHarness.h"

namespace orva {
namespace {

using namespace std::string_literals;
using ReadbackChainTest = test::CoreHarness;

constexpr ControlKey key(Dialog page, int id) {
    return {page, id};
}
constexpr auto kMain = Dialog::Main, kBasic = Dialog::Basic, kCustom = Dialog::Custom,
               kGimbal = Dialog::Gimbal, kVoltage = Dialog::Voltage, kFrame = Dialog::Frame;
constexpr ActionKind kReadOnly = ActionKind::Tab, kRelease = ActionKind::SliderRelease,
                     kCheck = ActionKind::Check, kSelect = ActionKind::Select;
constexpr int kAsRead = -9999;

// One code in both directions: the reply's value characters give the shown number and the store
// slot (-1: the store is left alone; the GPS page leaves it to the read-back); then, for a control
// that sends, acting on it with the shown number writes `sent`, twice for two actions, and stores
// `sentStored` (what the read stored, unless given). `version` (when not 0) is
// answered first.
struct Row {
    char code;
    int version;
    ControlKey control;
    const char* wire;
    int shown;
    int slot;
    int stored;
    ActionKind send = kReadOnly;
    const char* sent = "";
    bool keyStores = false;  // a keyboard move of the slider stores, as well as showing
    int sentStored = kAsRead;
};
const Row kRows[] = {
    {'A', 0, ids::main::kMultiAxis, "0015", 7, 0, 8, kSelect, "SA0015\r?V\r"},
    {'A', 0, ids::main::kMultiAxis, "0016", 15, 0, 16, kSelect, "SA0016\r?V\r"},
    {'A', 0, ids::main::kMultiAxis, "0017", 15, 0, 16},
    {'B', 0, ids::main::kEsc, "0007", 4, 1, 5, kSelect, "SB0007\r"},
    {'P', 0, ids::main::kServo, "0004", 2, 2, 3, kSelect, "SP0004\r"},
    {'C', 0, key(kBasic, 1038), "0037", 37, 3, 37, kRelease, "SC0037\r", true},
    {'!', 0, key(Dialog::Gps, 1239), "0055", 55, 16, 55, kRelease, "S!0055\r", false, -7},
    {'L', 0, key(kVoltage, 1055), "0280", 280, 26, 280, kRelease, "SL0280\r", true},
    {'L', 0, key(kVoltage, 1074), "0500", 350, 26, 350},
    {'7', 0, key(kVoltage, 1245), "-015", -1, 30, -1},  // a tenth, toward zero
    // Servo mid-points carry 100; no firmware version read yet counts as old firmware.
    {'^', 0, key(kGimbal, 1042), "0070", -30, 24, -30, kRelease, "S^0070\r"},
    {'^', 0, key(kGimbal, 1067), "0170", 70, 24, 70},
    // Gimbal values are stored as the wire carries them, read or sent.
    {'J', 0, key(kGimbal, 1232), "0150", 50, 18, 150, kRelease, "SJ0150\r"},
    {'_', 0, key(kGimbal, 1044), "0050", 50, 20, 50, kRelease, "S_0050\r"},
    {'+', 1211, key(kGimbal, 1046), "0100", 0, 22, 100, kRelease, "S+0100\r"},
    {'J', 1212, key(kGimbal, 1232), "0150", 150, 18, 150, kRelease, "SJ0150\r"},
    // Out of range: the store keeps what the fallback shown would send.
    {'J', 1212, key(kGimbal, 1236), "0250", 0, 18, 0},
    {')', 1212, key(kGimbal, 1070), "0150", 0, 21, 0},
    {'J', 1211, key(kGimbal, 1236), "0250", -100, 18, 0},
    {'Q', 0, ids::main::kDeclination, "0177", -3, 190, -3, ActionKind::EditCommit, "SQ0177\r"},
    // Bit sets: one box per row, the others clear.
    {'M', 0, key(kMain, 1060), "0144", 1, 35, 1, kCheck, "SM0144\r"},
    {'M', 0, key(kMain, 1062), "0047", 1, 36, 1, kCheck, "SM0047\r"},
    {'N', 0, key(kCustom, 1204), "0128", 1, 46, 1, kCheck, "SN0128\r"},
    {'O', 0, key(kCustom, 1205), "0129", 1, 47, 1, kCheck, "SO0129\r"},
    {'a', 0, key(kCustom, 1242), "2048", 1, 66, 1, kCheck, "Sa2048\r"},
    {'b', 0, key(kCustom, 113), "0008", 1, 70, 1, kCheck, "Sb0008\r"},
    {'=', 0, key(kCustom, 1153), "0002", 1, 128, 1, kCheck, "S=0002\r"},
    // The power-off delay and the failsafe box share code < and have no store slot.
    {'<', 0, key(kCustom, 1047), "0024", 8, -1, 0, kRelease, "S<0024\r"},
    {'<', 0, key(kCustom, 1303), "0015", 0, -1, 0, kCheck, "S<0015\r"},
    {'j', 0, ids::main::kRestoreChoice, "0004", 4, -1, 0},
    {'j', 0, ids::main::kRestoreChoice, "0007", -1, -1, 0},
    // The frame chain fills the frame dialog only.
    {'k', 0, ids::frame::kAxisCombo, "0005", 0, -1, 0},
    {'z', 0, key(kFrame, 1058), "0005", 1, -1, 0},
    {'l', 0, key(kFrame, 1029), "0650", 650, -1, 0},
    {'m', 0, key(kFrame, 1030), "5001", 0, -1, 0},
};

bool sameStore(const ParameterStore& a, const ParameterStore& b) {
    return std::ranges::all_of(std::views::iota(0, ParameterStore::kSize),
                               [&](int s) { return a.get(s) == b.get(s); });
}

TEST_F(ReadbackChainTest, EachCodeReadsIntoItsControlsAndSlotAndSendsBack) {
    ParameterStore before;
    for (const Row& r : kRows) {
        // The row's slot holds `expected`; without a slot the store is as it was.
        auto stored = [&](int expected) {
            return r.slot >= 0 ? store().get(r.slot) == expected : sameStore(store(), before);
        };
        SCOPED_TRACE(std::string{r.code} + r.wire);
        if (r.version != 0) {
            answer('V', std::to_string(r.version));
        }
        core.link().enter(ProtocolMode::Idle);
        before = store();
        answer(r.code, r.wire);
        EXPECT_EQ(model().value(r.control), r.shown);
        EXPECT_TRUE(stored(r.stored));
        EXPECT_EQ(enabled(ids::main::kEditFrame), model().value(ids::main::kMultiAxis) == 15);
        port.takeWritten();
        if (r.send == kReadOnly) {
            continue;
        }
        core.link().enter(ProtocolMode::AckChain);
        store().set(r.slot, -7);
        before = store();
        if (r.send == ActionKind::SliderRelease) {  // drawing and the keyboard send nothing
            act(ActionKind::SliderDraw, r.control, r.shown);
            act(ActionKind::SliderKey, r.control, r.shown);
            EXPECT_EQ(port.takeWritten(), "");
            EXPECT_TRUE(stored(r.keyStores ? r.stored : -7));
        }
        for (int i = 0; i < 2; ++i) {
            if (r.send == ActionKind::EditCommit) {
                type(r.control, std::to_string(r.shown));
                click(ids::main::kDeclinationSet);
            } else {
                act(r.send, r.control, r.shown);
            }
        }
        EXPECT_EQ(port.takeWritten(), r.sent + std::string(r.sent));
        const int sentStored = r.sentStored == kAsRead ? r.stored : r.sentStored;
        EXPECT_TRUE(stored(sentStored));
        EXPECT_EQ(enabled(ids::main::kEditFrame), model().value(ids::main::kMultiAxis) == 15);
        // The declination waits for its acknowledgement; reverse boxes and < leave the mode.
        const bool keepsMode = std::string_view("QNO<").find(r.code) != std::string_view::npos;
        EXPECT_EQ(mode(), keepsMode ? ProtocolMode::AckChain : ProtocolMode::Idle);
    }
}

TEST_F(ReadbackChainTest, ChainsAskInOrderRepeatAZeroThreeTimesAndEndSilently) {
    answer('C', "0000");
    port.takeWrites();
    acknowledge('j');  // a default set's acknowledgement starts the chain again
    const auto sent = port.takeWrites();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(core.readback().retries(), 2);  // left as it was
    // Answers each query until the chain falls silent; returns the codes asked.
    auto walk = [&](std::string w) {
        std::string asked;
        for (; !w.empty(); w = port.takeWritten()) {
            EXPECT_TRUE(w.size() == 3 && w[0] == '?' && w[2] == '\r') << w;
            asked.push_back(w[1]);
            answer(w[1], w[1] == 'V' ? "1220" : "0001");
            EXPECT_EQ(core.readback().retries(), 3) << w;
        }
        return asked;
    };
    EXPECT_EQ(core.readback().wireValue('A'), std::nullopt);
    EXPECT_EQ(walk(sent[0].bytes), "VCABDEFG!@#$HIJK%^&()_+LRT`YZQ4567MNOPabcdef=ghi<j");
    EXPECT_EQ(results, std::vector<ExchangeResult>{{Exchange::Readback}});
    EXPECT_EQ(core.readback().wireValue('V'), 1220);
    EXPECT_EQ(core.readback().wireValue('A'), 1);
    // Motor 4's Y edit, then the label, X edit, Y edit and reverse box of motors 5 and 6: these
    // are out of use with four axes.
    auto inUse = [&] {
        std::string out;
        for (int id : {1041, 1224, 1033, 1036, 1060, 1225, 1039, 1042, 1062}) {
            out += enabled({Dialog::Frame, id}) ? '1' : '0';
        }
        return out;
    };
    answer('k', "0004");
    EXPECT_EQ(inUse(), "100000000");
    EXPECT_EQ(model().value(ids::frame::kAxisCount), 4);
    EXPECT_EQ(walk(port.takeWritten()), "lmnopqrstuvwxyz");
    answer('k', "0006");
    EXPECT_EQ(inUse(), "111111111");
    EXPECT_EQ(model().value(ids::frame::kAxisCount), 6);

    port.takeWritten();
    const int discards = port.discards;
    for (int i = 0; i < 3; ++i) {
        answer('C', "0000");
        EXPECT_EQ(text(key(kBasic, 1251)), "0");  // shown on every reply, repeated or not
        EXPECT_EQ(port.takeWritten(), "?C\r") << i;
        EXPECT_EQ(core.readback().retries(), 2 - i);
    }
    answer('C', "0000");
    EXPECT_EQ(port.takeWritten(), "?A\r");
    EXPECT_EQ(core.readback().retries(), 3);
    EXPECT_EQ(port.discards - discards, 8);  // each reply: the event's read, then a discard

    for (char end : {'j', 'z'}) {  // the chain ends: nothing sent, counter kept
        for (int i = 0; i < 4; ++i) {
            answer(end, "0000");
        }
        const int before = port.discards;
        answer(end, "0000");
        EXPECT_EQ(port.discards - before, end == 'j' ? 2 : 1);  // only j discards input
        EXPECT_EQ(port.takeWritten(), end == 'j' ? "?j\r?j\r?j\r" : "");
    }
    EXPECT_EQ(core.readback().retries(), 0);
    // The two ends of j above; the frame chain's end is no main chain's.
    EXPECT_EQ(results.size(), 3u);
    EXPECT_EQ(core.readback().wireValue('C'), 0);
}

TEST_F(ReadbackChainTest, VersionReplyShowsTheVersionInTheCurrentLanguage) {
    answer('V', "1220");
    EXPECT_EQ(text(ids::main::kVersionText), "1.220");
    EXPECT_EQ(text(ids::main::kVersionCaption), "固件版本:V");
    EXPECT_EQ(port.takeWritten(), "?C\r");
    click(ids::main::kLanguage);
    answer('V', "0987");  // the repeat rule reads "0.987": asked again
    EXPECT_EQ(text(ids::main::kVersionCaption), "FW Version:V");
    EXPECT_EQ(text(ids::main::kVersionText), "0.987");
    EXPECT_EQ(port.takeWritten(), "?V\r");
    EXPECT_EQ(core.readback().retries(), 2);
}

TEST_F(ReadbackChainTest, ADamagedValueIsAskedAgainThenMarkedNotRead) {
    const ControlKey slider{Dialog::Basic, 1038};
    answer('C', "0042");
    port.takeWritten();
    for (int ask = 0; ask < 3; ++ask) {
        answer('C', "0=50");  // one digit hit by noise
    }
    EXPECT_EQ(port.takeWritten(), "?C\r?C\r?C\r");
    answer('C', "00 5");
    EXPECT_EQ(port.takeWritten(), "?A\r");
    EXPECT_EQ(model().value(slider), 42);  // not shown as a number
    EXPECT_EQ(store().get(3), 42);
    EXPECT_EQ(text(ids::main::kPortDevice), "未读到: C  COM3 = /dev/fake3");
    answer('V', "1220");
    EXPECT_EQ(text(ids::main::kPortDevice), "COM3 = /dev/fake3");
}

}  // namespace
}  // namespace orva
