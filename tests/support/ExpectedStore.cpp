#include "support/ExpectedStore.h"

#include <string_view>

namespace orva::test {

std::vector<int> expectedStore(const std::function<int(char)>& v) {
    auto within = [](int x, int lo, int hi, int shown, int fallback) {
        return x >= lo && x <= hi ? shown : fallback;
    };
    auto percent = [&](char code) { return within(v(code), 0, 100, v(code), 0); };
    std::vector<int> s(191, 0);
    // Lists: the index plus 1; an unlisted wire value leaves the slot as it was: 0 after
    // start-up, except the servo rate, which the link restart sets to its first entry.
    auto listSlot = [&](char code, int untouched, std::initializer_list<std::pair<int, int>> map) {
        for (auto [wire, index] : map) {
            if (v(code) == wire) {
                return index + 1;
            }
        }
        return untouched;
    };
    s[0] = listSlot('A', 0,
                    {{1, 0},
                     {2, 1},
                     {3, 2},
                     {4, 3},
                     {5, 4},
                     {6, 5},
                     {7, 6},
                     {15, 7},
                     {8, 8},
                     {9, 9},
                     {10, 10},
                     {11, 11},
                     {12, 12},
                     {13, 13},
                     {14, 14},
                     {16, 15}});
    s[1] = listSlot('B', 0, {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {7, 4}, {5, 5}, {6, 6}});
    s[2] = listSlot('P', 1, {{1, 0}, {3, 1}, {4, 2}, {7, 3}});
    const std::string_view percentCodes = "CDEFGYZRT`@#$!";
    for (std::size_t i = 0; i < percentCodes.size(); ++i) {
        s[3 + i] = percent(percentCodes[i]);
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

}  // namespace orva::test
