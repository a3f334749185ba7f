#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>

#include "settings/ParameterCatalogue.h"
#include "window/WindowTexts.h"

namespace orva {
namespace {

using Catalogue = ParameterCatalogue;

constexpr int kUntouched = 42;  // what a store slot held before
constexpr int kNoSlot = -1;

// One setting both ways: the page's state goes out as `wire` and `wire` read back shows the
// state again; the store slot then holds `afterRead`, or after sending `afterSend`.
struct Row {
    char code;
    int version;
    ControlValue shown;
    int wire;
    int slot;
    int afterRead;
    int afterSend;
};

// The read-back chain's table takes one row of each kind of control through the whole core;
// these rows add the ends and encodings it does not reach.
const Row kRows[] = {
    // Lists keep index + 1; the wire value is the list's own (the ninth entry is frame type 8).
    {'A', 1220, {0}, 1, 0, 1, 1},
    {'A', 1220, {8}, 8, 0, 9, 9},
    {'B', 1220, {6}, 6, 1, 7, 7},
    {'P', 1220, {1}, 3, 2, 2, 2},  // 270 Hz
    {'P', 1220, {3}, 7, 2, 4, 4},  // 400 Hz
    // Sliders.
    {'E', 1220, {100}, 100, 5, 100, 100},
    {'@', 1220, {7}, 7, 13, 7, kUntouched},  // the GPS senders leave their slots alone
    // Servo mid points: the position without the 100 in the store.
    {'&', 1220, {-100}, 0, 23, -100, -100},
    {'(', 1220, {100}, 200, 25, 100, 100},
    // Gimbal scales carry 100 up to firmware 1211 and before any version is read; read-back
    // and sender both store the wire value, which a saved file gives back unchanged.
    {'K', 0, {40}, 140, 17, 140, 140},
    {'J', 1211, {40}, 140, 18, 140, 140},
    {'K', 1212, {40}, 40, 17, 40, 40},
    {'J', 1220, {50}, 50, 18, 50, 50},
    {'%', 1212, {40}, 40, 19, 40, 40},
    {'+', 1211, {40}, 140, 22, 140, 140},
    // Check boxes, one slot per box in bit order.
    {'a', 1220, {0, 0xFFF}, 4095, 55, 1, 1},
    // Power-off delay: bits 0..3 the seconds, bit 4 box 1303; not in the store.
    {'<', 1220, {15, 1}, 31, kNoSlot, 0, 0},
    // The custom frame: stored by the frame dialog's Save, not by the read-back.
    {'k', 1220, {1}, 6, 175, kUntouched, 6},
    {'n', 1220, {300}, 5300, 178, kUntouched, 300},
    {'o', 1220, {-250}, 4750, 179, kUntouched, -250},
};

TEST(ParameterCatalogueTest, EachRowGoesOutAndComesBack) {
    for (const Row& r : kRows) {
        SCOPED_TRACE(std::string(1, r.code) + " version " + std::to_string(r.version) + " wire " +
                     std::to_string(r.wire));
        const ParameterEntry& entry = Catalogue::at(r.code);
        EXPECT_EQ(Catalogue::encode(entry, r.shown, r.version), r.wire);
        EXPECT_EQ(Catalogue::decode(entry, r.wire, r.version), r.shown);

        const auto slots = Catalogue::storeSlots(r.code);
        if (r.slot == kNoSlot) {
            EXPECT_EQ(slots.count, 0);
            continue;
        }
        ParameterStore read;
        read.set(r.slot, kUntouched);
        Catalogue::storeRead(read, entry, r.shown, r.wire);
        EXPECT_EQ(read.get(r.slot), r.afterRead);
        ParameterStore sent;
        sent.set(r.slot, kUntouched);
        Catalogue::storeSent(sent, entry, r.shown, r.wire);
        EXPECT_EQ(sent.get(r.slot), r.afterSend);
    }
}

// Read values outside a control's range: a fallback, or nothing when the control stays as it is.
TEST(ParameterCatalogueTest, ReadLimitsAndFallbacks) {
    struct Read {
        char code;
        int version;
        int wire;
        std::optional<ControlValue> shown;
    };
    const Read cases[] = {
        {'A', 1220, 0, std::nullopt},  // no such list entry
        {'B', 1220, 8, std::nullopt},
        {'P', 1220, 2, std::nullopt},
        {'k', 1220, 5, std::nullopt},
        {'H', 1220, 5, std::nullopt},  // read only, no control
        {'C', 1220, 150, ControlValue{0}},
        {'C', 1220, -1, ControlValue{0}},
        {'C', 1220, 100, ControlValue{100}},
        {'L', 1220, 279, ControlValue{350}},  // 2.80 V to 4.00 V, else 3.50 V
        {'Q', 1220, 0, ControlValue{-180}},
        {'Q', 1220, 360, ControlValue{180}},
        {'Q', 1220, 361, ControlValue{0}},
        {'^', 1220, 201, ControlValue{0}},
        {'K', 0, 0, ControlValue{-100}},
        {'4', 1220, 3705, ControlValue{370}},  // cells: a tenth, toward zero, no limits
        {'j', 1220, 5, ControlValue{-1}},      // no such restore item: nothing selected
        {'n', 1220, 0, ControlValue{-5000}},
        {'y', 1220, 9999, ControlValue{4999}},
        {'o', 1220, 10000, ControlValue{0}},
        {'M', 1220, 0x1FF, ControlValue{0, 0xFF}},
        {'z', 1220, 0x45, ControlValue{0, 0x05}},
        {'<', 1220, 47, ControlValue{15, 0}},
    };
    for (const Read& c : cases) {
        EXPECT_EQ(Catalogue::decode(c.code, c.wire, c.version), c.shown)
            << c.code << " " << c.wire << " version " << c.version;
    }
    // States a page cannot send.
    EXPECT_FALSE(Catalogue::encode('A', ControlValue{-1}, 1220));  // no selection
    EXPECT_FALSE(Catalogue::encode('P', ControlValue{4}, 1220));
    EXPECT_FALSE(Catalogue::encode('4', ControlValue{370}, 1220));
    EXPECT_FALSE(Catalogue::encode('W', ControlValue{}, 1220));
    EXPECT_EQ(Catalogue::encode('a', ControlValue{0, 0x1FFF}, 1220), 4095);  // twelve boxes only
}

// A parameter's names are those of its caption in the window: the same English, the same Chinese
// but for the blanks that space the captions out.
TEST(ParameterCatalogueTest, NamesAreTheWindowCaptions) {
    auto unspaced = [](std::string_view text) {
        std::string out;
        std::ranges::copy_if(text, std::back_inserter(out), [](char c) { return c != ' '; });
        return out;
    };
    int named = 0;
    for (const ParameterEntry& e : Catalogue::entries()) {
        if (e.look.caption == 0 || e.dialog == Dialog::Frame) {  // the frame dialog words its own
            continue;
        }
        const auto text =
            std::ranges::find(controlTexts(), Catalogue::key(e, e.look.caption), &ControlText::key);
        ASSERT_NE(text, controlTexts().end()) << e.code;
        EXPECT_EQ(text->english, e.english) << e.code;
        EXPECT_EQ(unspaced(text->chinese), unspaced(e.chinese)) << e.code;
        ++named;
    }
    EXPECT_EQ(named, 53);
}

}  // namespace
}  // namespace orva
