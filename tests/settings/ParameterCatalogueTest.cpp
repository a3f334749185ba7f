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

// The custom frame's numbers both ways, and stored by the frame dialog's Save, not by the
// read-back: the axis count as on the wire, the coordinates as shown. The read-back chain's and
// the set-bytes tables take every other kind of control through the whole core.
TEST(ParameterCatalogueTest, FrameNumbersAreStoredBySaveOnly) {
    constexpr int kUntouched = 42;  // what the slot held before
    const struct {
        char code;
        ControlValue shown;
        int wire;
        int slot;
        int afterSend;
    } rows[] = {
        {'k', {1}, 6, 175, 6}, {'n', {300}, 5300, 178, 300}, {'o', {-250}, 4750, 179, -250}};
    for (const auto& r : rows) {
        const ParameterEntry& entry = Catalogue::at(r.code);
        EXPECT_EQ(Catalogue::encode(entry, r.shown, 1220), r.wire) << r.code;
        EXPECT_EQ(Catalogue::decode(entry, r.wire, 1220), r.shown) << r.code;
        ParameterStore store;
        store.set(r.slot, kUntouched);
        Catalogue::storeRead(store, entry, r.shown, r.wire);
        EXPECT_EQ(store.get(r.slot), kUntouched) << r.code;
        Catalogue::storeSent(store, entry, r.shown, r.wire);
        EXPECT_EQ(store.get(r.slot), r.afterSend) << r.code;
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
        {'B', 1220, 8, std::nullopt},  // no such list entry
        {'P', 1220, 2, std::nullopt},
        {'H', 1220, 5, std::nullopt},  // read only, no control
        {'C', 1220, 150, ControlValue{0}},
        {'C', 1220, -1, ControlValue{0}},
        {'C', 1220, 100, ControlValue{100}},
        {'Q', 1220, 0, ControlValue{-180}},
        {'Q', 1220, 360, ControlValue{180}},
        {'Q', 1220, 361, ControlValue{0}},
        {'^', 1220, 201, ControlValue{0}},
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
