#include <gtest/gtest.h>

#include "window/ResultBoxes.h"

namespace orva {
namespace {

// The window's box for each end of an exchange: most ends show none, since the window of the
// controller's tool has no box for them (a value not kept, an unread frame, a silent line are
// said beside the port list, or not at all).
TEST(ResultBoxes, OnlyTheEndsTheWindowHasABoxForShowOne) {
    const struct {
        ExchangeResult result;
        Language language;
        const char* box;  // title, a blank, text; "" for no box
    } cases[] = {
        {{Exchange::Save, Outcome::Refused, Refusal::NoGbk},
         Language::English,
         "Halvane Mentioned: GBK (code page 936) conversion is not available on this system."},
        {{Exchange::Save, Outcome::Refused, Refusal::NoGbk},
         Language::Chinese,
         "Halvane提示: GBK (code page 936) conversion is not available on this system."},
        {{Exchange::Calibration}, Language::English, "Halvane Mentioned: Calibrate OK !"},
        {{Exchange::Restore, Outcome::Refused, Refusal::ForeignLine, "7"},
         Language::English,
         "Halvane Mentioned: Line 7 of this file is not as Save Data writes it; nothing was sent "
         "to the controller."},
        {{Exchange::Readback}, Language::Chinese, ""},
        {{Exchange::Monitor}, Language::English, ""},
        {{Exchange::FrameSave}, Language::English, ""},
        {{Exchange::FrameSave, Outcome::Refused, Refusal::NotRead}, Language::Chinese, ""},
        {{Exchange::Set, Outcome::Refused, Refusal::NotKept, "C"}, Language::English, ""},
        {{Exchange::Restore, Outcome::Refused, Refusal::NotKept, "CA"}, Language::Chinese, ""},
        {{Exchange::Restore, Outcome::Refused, Refusal::NoBackup}, Language::Chinese, ""},
        {{Exchange::Upgrade, Outcome::NotAnswering, Refusal::None, "?V"}, Language::English, ""},
        {{Exchange::Restore, Outcome::LineLost}, Language::English, ""},
    };
    for (const auto& c : cases) {
        const auto box = resultBox(c.result, c.language);
        EXPECT_EQ(box ? box->title + " " + box->text : "", c.box)
            << static_cast<int>(c.result.exchange) << " " << static_cast<int>(c.result.refusal);
    }
}

}  // namespace
}  // namespace orva
