#pragma once

#include "settings/ParameterStore.h"

namespace orva::test {

// A store that reaches every rule of the value texts.
inline ParameterStore sampleStore() {
    ParameterStore s;
    const int values[] = {
        8,   5,   2,                                 // 0-2 multi-axis, ESC, servo: list index + 1
        45,  7,   100,  50, 60, 70, 80, 90, 11, 12,  // 3-12 C D E F G Y Z R T `
        13,  14,  15,   16,                          // 13-16 @ # $ !
        40,  41,  42,   20, 21, 22,                  // 17-22 K J % _ ) +
        -5,  30,  -100,                              // 23-25 servo mid points & ^ ( as shown
        330,                                         // 26 alarm voltage
        412, 398, 405,  0,                           // 27-30 cell voltages
        1,   1,   1,    1,  1,  0,  1,  0,           // 31-38 sensor boxes
        1,   0,   0,    0,  0,  0,  0,  1,           // 39-46 receiver reverse CH1..CH8
        0,   0,   1,    0,  0,  0,  0,  0,           // 47-54 output reverse M/S1..M/S8
    };
    int slot = 0;
    for (int v : values) {
        s.set(slot++, v);
    }
    for (int b = 0; b < 12; ++b) {
        s.set(55 + b, 1);  // row a: every box
    }
    // Row b: CH8 high; row c: CH5 low and middle; row i: CH6 high.
    for (int slot : {67 + 11, 79, 80, 163 + 5}) {
        s.set(slot, 1);
    }
    const int frame[] = {6, 250, 300, -120, 75, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 15; ++i) {
        s.set(175 + i, frame[i]);
    }
    s.set(190, -12);  // declination
    return s;
}

}  // namespace orva::test
