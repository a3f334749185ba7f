#include <map>
#include <vector>

#include "model/ControlIds.h"
#include "settings/SettingsFixture.h"
#include "support/ExpectedStore.h"

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
        EXPECT_EQ(core.readback().retries(), 3) << code;
    }
    // Silence after the last reply.
    EXPECT_EQ(port.takeWritten(), "");
    // Each 0 (D, #, I, &, 6, e) asked four times in all.
    EXPECT_EQ(asked, "VCABDDDDEFG!@####$HIIIIJK%^&&&&()_+LRT`YZQ4566667MNOPabcdeeeef=ghi<j");

    const std::vector<int> expected =
        test::expectedStore([](char code) { return std::stoi(kHeld.at(code)); });
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
