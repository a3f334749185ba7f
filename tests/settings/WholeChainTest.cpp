#include <map>
#include <vector>

#include "model/ControlIds.h"
#include "settings/SettingsFixture.h"

namespace orva {
namespace {

using WholeChainTest = test::SettingsFixture;

// What the scripted controller holds, as the four value characters of each reply.
const std::map<char, std::string> kHeld = {
    {'V', "1220"}, {'C', "0045"}, {'A', "0016"}, {'B', "0007"}, {'D', "0000"}, {'E', "0150"},
    {'F', "0100"}, {'G', "0033"}, {'!', "0012"}, {'@', "0050"}, {'#', "0000"}, {'$', "0099"},
    {'H', "0005"}, {'I', "0000"}, {'J', "0150"}, {'K', "0201"}, {'%', "0070"}, {'^', "0070"},
    {'&', "0000"}, {'(', "0250"}, {')', "0100"}, {'_', "0101"}, {'+', "0020"}, {'L', "0360"},
    {'R', "0060"}, {'T', "0061"}, {'`', "0062"}, {'Y', "0063"}, {'Z', "0064"}, {'Q', "0175"},
    {'4', "3705"}, {'5', "3699"}, {'6', "0000"}, {'7', "3710"}, {'M', "0240"}, {'N', "0015"},
    {'O', "0085"}, {'P', "0007"}, {'a', "2048"}, {'b', "4095"}, {'c', "0001"}, {'d', "2340"},
    {'e', "0000"}, {'f', "0273"}, {'=', "0003"}, {'g', "4000"}, {'h', "0123"}, {'i', "2730"},
    {'<', "0024"}, {'j', "0002"},
};

constexpr std::string_view kMainOrder = "VCABDEFG!@#$HIJK%^&()_+LRT`YZQ4567MNOPabcdef=ghi<j";

// The store as the read-back rules say it must look for the wire values above, worked out
// here from those values and not through the catalogue.
std::vector<int> expectedStore() {
    auto v = [](char code) { return std::stoi(kHeld.at(code)); };
    auto within = [](int x, int lo, int hi, int shown, int fallback) {
        return x >= lo && x <= hi ? shown : fallback;
    };
    auto percent = [&](char code) { return within(v(code), 0, 100, v(code), 0); };
    std::vector<int> s(ParameterStore::kUsed, 0);
    s[0] = 15 + 1;  // A 16: "16. IRRET_SHAPE", index 15
    s[1] = 4 + 1;   // B 7: "5. 400Hz (2.5ms)", index 4
    s[2] = 3 + 1;   // P 7: 400 Hz, index 3
    const std::string_view percentCodes = "CDEFGYZRT`@#$!";
    const int percentSlots[] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    for (std::size_t i = 0; i < percentCodes.size(); ++i) {
        s[percentSlots[i]] = percent(percentCodes[i]);
    }
    // Firmware 1220: the scales read plainly within 0..200, the limits within 0..100.
    s[17] = within(v('K'), 0, 200, v('K'), 0);
    s[18] = within(v('J'), 0, 200, v('J'), 0);
    s[19] = within(v('%'), 0, 200, v('%'), 0);
    s[20] = percent('_');
    s[21] = percent(')');
    s[22] = percent('+');
    s[23] = within(v('&'), 0, 200, v('&') - 100, 0);
    s[24] = within(v('^'), 0, 200, v('^') - 100, 0);
    s[25] = within(v('('), 0, 200, v('(') - 100, 0);
    s[26] = within(v('L'), 280, 400, v('L'), 350);
    for (int cell = 0; cell < 4; ++cell) {
        s[27 + cell] = v(static_cast<char>('4' + cell)) / 10;
    }
    auto bits = [&](char code, int first, int count) {
        for (int b = 0; b < count; ++b) {
            s[first + b] = (v(code) >> b) & 1;
        }
    };
    bits('M', 31, 8);
    bits('N', 39, 8);
    bits('O', 47, 8);
    const std::string_view rows = "abcdef=ghi";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        bits(rows[r], 55 + 12 * static_cast<int>(r), 12);
    }
    s[190] = within(v('Q'), 0, 360, v('Q') - 180, 0);
    return s;
}

TEST_F(WholeChainTest, ScriptedControllerFillsEveryStoreSlot) {
    // Start-up already sent the first query.
    port.written = "?V\r";
    std::string asked;
    for (char code : kMainOrder) {
        const std::string& held = kHeld.at(code);
        const int times = std::stoi(held) == 0 ? 4 : 1;  // a 0 is asked three more times
        for (int i = 0; i < times; ++i) {
            ASSERT_EQ(port.takeWritten(), std::string({'?', code, '\r'}))
                << "query " << code << " #" << i + 1;
            asked.push_back(code);
            answer(code, held);
        }
        EXPECT_EQ(core.state().retryCounter, 3) << code;
    }
    // Silence after the last reply.
    EXPECT_EQ(port.takeWritten(), "");
    // Each 0 (D, #, I, &, 6, e) asked four times in all.
    EXPECT_EQ(asked, "VCABDDDDEFG!@####$HIIIIJK%^&&&&()_+LRT`YZQ4566667MNOPabcdeeeef=ghi<j");

    const std::vector<int> expected = expectedStore();
    for (int slot = 0; slot < ParameterStore::kUsed; ++slot) {
        EXPECT_EQ(store().get(slot), expected[slot]) << "slot " << slot;
    }

    // A few controls as the pages show them.
    EXPECT_EQ(model().text(ids::main::kVersionText), "1.220");
    EXPECT_EQ(model().value(ids::main::kMultiAxis), 15);
    EXPECT_TRUE(model().enabled(ids::main::kEditFrame));
    EXPECT_EQ(model().value(ids::main::kRestoreChoice), 2);
    EXPECT_EQ(model().text({Dialog::Gimbal, 1236}), "150");
    EXPECT_EQ(model().text({Dialog::Custom, 1028}), "8");
    EXPECT_EQ(model().value({Dialog::Custom, 1303}), 1);
    EXPECT_EQ(model().text(ids::main::kDeclination), "-5");
}

}  // namespace
}  // namespace orva
