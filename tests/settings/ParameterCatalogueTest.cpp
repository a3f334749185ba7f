#include <gtest/gtest.h>

#include <set>
#include <string>

#include "settings/ParameterCatalogue.h"

namespace orva {
namespace {

using Catalogue = ParameterCatalogue;

constexpr int kNoVersion = 0;
constexpr int kOld = 1211;
constexpr int kNew = 1212;
constexpr int kVersions[] = {kNoVersion, kOld, kNew, 1220};

int wireOf(char code, int number, int version = 1220) {
    return Catalogue::encode(code, ControlValue{number}, version).value_or(-99999);
}

int shownOf(char code, int wire, int version = 1220) {
    const auto shown = Catalogue::decode(code, wire, version);
    return shown ? shown->number : -99999;
}

TEST(ParameterCatalogueTest, EveryCodeOnceWithBothLabels) {
    std::set<char> codes;
    for (const ParameterEntry& e : Catalogue::entries()) {
        EXPECT_TRUE(codes.insert(e.code).second) << e.code;
        EXPECT_NE(std::string(e.english), "") << e.code;
        EXPECT_NE(std::string(e.chinese), "") << e.code;
        EXPECT_EQ(Catalogue::lookup(e.code), &e);
    }
    for (char code :
         std::string("VCABDEFG!@#$HIJK%^&()_+LRT`YZQ4567MNOPabcdef=ghi<jklmnopqrstuvwxyz0~")) {
        EXPECT_TRUE(codes.count(code)) << code;
    }
    EXPECT_EQ(Catalogue::lookup('W'), nullptr);
    EXPECT_FALSE(Catalogue::encode('W', {}, 0).has_value());
    EXPECT_STREQ(Catalogue::at('E').english, "DynaStability");
    EXPECT_STREQ(Catalogue::at('E').chinese, "动态稳定");
    EXPECT_STREQ(Catalogue::at('%').chinese, "云台 Z轴比例");
}

TEST(ParameterCatalogueTest, IndexMapsBothWays) {
    // Multi-axis: "8. INV Y6" stands eighth but is frame type 15.
    EXPECT_EQ(wireOf('A', 0), 1);
    EXPECT_EQ(wireOf('A', 6), 7);
    EXPECT_EQ(wireOf('A', 7), 15);
    EXPECT_EQ(wireOf('A', 8), 8);
    EXPECT_EQ(wireOf('A', 14), 14);
    EXPECT_EQ(wireOf('A', 15), 16);
    EXPECT_EQ(shownOf('A', 15), 7);
    EXPECT_EQ(shownOf('A', 16), 15);
    EXPECT_EQ(shownOf('A', 1), 0);
    EXPECT_EQ(shownOf('A', 8), 8);
    // ESC: "5. 400Hz (2.5ms)" is 7, the two special modes follow as 5 and 6.
    EXPECT_EQ(wireOf('B', 3), 4);
    EXPECT_EQ(wireOf('B', 4), 7);
    EXPECT_EQ(wireOf('B', 5), 5);
    EXPECT_EQ(wireOf('B', 6), 6);
    EXPECT_EQ(shownOf('B', 7), 4);
    EXPECT_EQ(shownOf('B', 5), 5);
    // Servo: 50, 270, 333, 400 Hz.
    EXPECT_EQ(wireOf('P', 0), 1);
    EXPECT_EQ(wireOf('P', 1), 3);
    EXPECT_EQ(wireOf('P', 2), 4);
    EXPECT_EQ(wireOf('P', 3), 7);
    EXPECT_EQ(shownOf('P', 4), 2);
    // Frame axis count.
    EXPECT_EQ(wireOf('k', 0), 4);
    EXPECT_EQ(wireOf('k', 1), 6);
    EXPECT_EQ(shownOf('k', 6), 1);
    // Values outside a map leave the list alone; a list without selection sends nothing.
    for (int v : {0, 17, -1}) {
        EXPECT_FALSE(Catalogue::decode('A', v, 1220).has_value()) << v;
    }
    EXPECT_FALSE(Catalogue::decode('B', 8, 1220).has_value());
    EXPECT_FALSE(Catalogue::decode('P', 2, 1220).has_value());
    EXPECT_FALSE(Catalogue::decode('k', 5, 1220).has_value());
    EXPECT_FALSE(Catalogue::encode('A', ControlValue{-1}, 1220).has_value());
    EXPECT_FALSE(Catalogue::encode('P', ControlValue{4}, 1220).has_value());
}

TEST(ParameterCatalogueTest, VersionRuleOfTheGimbalScales) {
    // Pitch and roll scale carry 100 on old firmware, including before any version is known.
    EXPECT_EQ(wireOf('K', 40, kNoVersion), 140);
    EXPECT_EQ(wireOf('J', 40, kOld), 140);
    EXPECT_EQ(wireOf('K', 40, kNew), 40);
    EXPECT_EQ(wireOf('K', 50, kNoVersion), 150);
    // The pitch angle limit never does.
    EXPECT_EQ(wireOf('_', 50, kNoVersion), 50);
    EXPECT_EQ(wireOf('_', 50, kNew), 50);

    EXPECT_EQ(shownOf('J', 150, 1220), 150);
    EXPECT_EQ(shownOf('J', 150, kOld), 50);
    EXPECT_EQ(shownOf('J', 250, 1220), 0);
    EXPECT_EQ(shownOf('J', 250, kOld), -100);
    EXPECT_EQ(shownOf('K', 0, kNoVersion), -100);
    EXPECT_EQ(shownOf('%', 150, 1220), 150);
    // ) and + keep the plain percentage limits from 1212 on.
    EXPECT_EQ(shownOf(')', 150, kNew), 0);
    EXPECT_EQ(shownOf('+', 100, kNew), 100);

    // Old firmware: %, ) and + are settled like K and J.
    for (char code : {'%', ')', '+'}) {
        EXPECT_EQ(wireOf(code, 40, kOld), 140) << code;
        EXPECT_EQ(shownOf(code, 140, kOld), 40) << code;
        EXPECT_EQ(shownOf(code, 201, kOld), -100) << code;
        EXPECT_EQ(wireOf(code, 40, kNew), 40) << code;
    }
}

TEST(ParameterCatalogueTest, OffsetsAndLimitsOfReadValues) {
    // Servo mid points: -100..100 on the page, 0..200 on the wire.
    EXPECT_EQ(wireOf('&', -100), 0);
    EXPECT_EQ(wireOf('^', 0), 100);
    EXPECT_EQ(wireOf('(', 100), 200);
    EXPECT_EQ(wireOf('^', -30), 70);
    EXPECT_EQ(shownOf('^', 70), -30);
    EXPECT_EQ(shownOf('^', 201), 0);
    // Declination: degrees plus 180.
    EXPECT_EQ(wireOf('Q', -3), 177);
    EXPECT_EQ(wireOf('Q', 0), 180);
    EXPECT_EQ(shownOf('Q', 177), -3);
    EXPECT_EQ(shownOf('Q', 0), -180);
    EXPECT_EQ(shownOf('Q', 360), 180);
    EXPECT_EQ(shownOf('Q', 361), 0);
    // Percent sliders: outside 0..100 shows 0.
    EXPECT_EQ(shownOf('C', 150), 0);
    EXPECT_EQ(shownOf('C', 100), 100);
    EXPECT_EQ(shownOf('C', -1), 0);
    EXPECT_EQ(wireOf('E', 37), 37);
    // Alarm voltage: 2.80 V to 4.00 V, else 3.50 V.
    EXPECT_EQ(shownOf('L', 500), 350);
    EXPECT_EQ(shownOf('L', 279), 350);
    EXPECT_EQ(shownOf('L', 280), 280);
    EXPECT_EQ(shownOf('L', 400), 400);
    EXPECT_EQ(wireOf('L', 280), 280);
    // Cell voltages: a tenth, truncated toward zero, no limits.
    EXPECT_EQ(shownOf('4', 3705), 370);
    EXPECT_EQ(shownOf('7', -15), -1);
    EXPECT_EQ(shownOf('5', 9999), 999);
    EXPECT_FALSE(Catalogue::encode('4', ControlValue{370}, 1220).has_value());
    // Restore choice: a number that is no item selects nothing.
    EXPECT_EQ(shownOf('j', 4), 4);
    EXPECT_EQ(shownOf('j', 5), -1);
    EXPECT_EQ(shownOf('j', -2), -1);
    // Custom frame distances and coordinates.
    EXPECT_EQ(shownOf('l', 5000), 5000);
    EXPECT_EQ(shownOf('m', 5001), 0);
    EXPECT_EQ(shownOf('n', 0), -5000);
    EXPECT_EQ(shownOf('y', 9999), 4999);
    EXPECT_EQ(shownOf('o', 10000), 0);
    EXPECT_EQ(wireOf('n', 300), 5300);
    EXPECT_EQ(wireOf('o', -250), 4750);
    // Codes without controls show nothing.
    EXPECT_FALSE(Catalogue::decode('H', 5, 1220).has_value());
    EXPECT_FALSE(Catalogue::decode('I', 0, 1220).has_value());
}

TEST(ParameterCatalogueTest, BitSetsAndThePackedDelay) {
    // Row a: bit 11 is CH8 high.
    EXPECT_EQ(Catalogue::encode('a', {0, 1u << 11}, 0), 2048);
    EXPECT_EQ(Catalogue::encode('a', {0, 0xFFF}, 0), 4095);
    // Boxes beyond the row's twelve do not leak into the value.
    EXPECT_EQ(Catalogue::encode('a', {0, 0x1FFF}, 0), 4095);
    // Sensors: magnetic sensor (bit 4) and GPS receiver (bit 7).
    EXPECT_EQ(Catalogue::encode('M', {0, 0x90}, 0), 144);
    EXPECT_EQ(Catalogue::decode('=', 3, 0), (ControlValue{0, 0x3}));
    EXPECT_EQ(Catalogue::decode('M', 0x1FF, 0), (ControlValue{0, 0xFF}));
    EXPECT_EQ(Catalogue::decode('z', 0x45, 0), (ControlValue{0, 0x05}));
    // Power-off delay: bits 0..3 the seconds, bit 4 box 1303.
    EXPECT_EQ(Catalogue::encode('<', {15, 1}, 0), 31);
    EXPECT_EQ(Catalogue::encode('<', {15, 0}, 0), 15);
    EXPECT_EQ(Catalogue::encode('<', {8, 0}, 0), 8);
    EXPECT_EQ(Catalogue::encode('<', {8, 1}, 0), 24);
    EXPECT_EQ(Catalogue::decode('<', 24, 0), (ControlValue{8, 1}));
    EXPECT_EQ(Catalogue::decode('<', 47, 0), (ControlValue{15, 0}));
    // Row b's CH6-low box keeps its odd ID.
    EXPECT_EQ(Catalogue::at('b').boxes[3], 113);
}

// Whatever a page can show, written with any firmware version and read back with the same one,
// shows again unchanged.
TEST(ParameterCatalogueTest, WrittenValuesReadBackUnchanged) {
    for (const ParameterEntry& e : Catalogue::entries()) {
        const bool hasControls = e.slider || e.edit || e.combo || !e.boxes.empty();
        if (!hasControls || e.encoding == Encoding::ReadOnly) {
            continue;
        }
        for (int version : kVersions) {
            const bool bits = e.encoding == Encoding::BitSet;
            const int last = e.encoding == Encoding::Packed ? 31 : e.uiMax;
            for (int x = bits ? 0 : e.uiMin; x <= last; ++x) {
                ControlValue state{x};
                if (bits) {
                    state = {0, static_cast<std::uint32_t>(x)};
                } else if (e.encoding == Encoding::Packed) {
                    state = {x & 15, static_cast<std::uint32_t>(x >> 4)};
                }
                const auto wire = Catalogue::encode(e, state, version);
                ASSERT_TRUE(wire.has_value()) << e.code << " " << x;
                if (*wire > 9999) {
                    continue;  // beyond the four digits of a set command
                }
                EXPECT_GE(*wire, 0) << e.code << " " << x;
                EXPECT_EQ(Catalogue::decode(e, *wire, version), state)
                    << e.code << " " << x << " version " << version;
            }
        }
    }
}

TEST(ParameterCatalogueTest, StoreSlotsCoverTheStoreOnce) {
    std::vector<char> owner(ParameterStore::kUsed, 0);
    for (const ParameterEntry& e : Catalogue::entries()) {
        const auto range = Catalogue::storeSlots(e);
        for (int s = range.first; s >= 0 && s < range.first + range.count; ++s) {
            ASSERT_LT(s, ParameterStore::kUsed) << e.code;
            EXPECT_EQ(owner[s], 0) << "slot " << s << " of " << e.code << " and " << owner[s];
            owner[s] = e.code;
        }
    }
    for (int s = 0; s < ParameterStore::kUsed; ++s) {
        EXPECT_NE(owner[s], 0) << "slot " << s;
    }
    EXPECT_EQ(Catalogue::storeSlots('M').first, 31);
    EXPECT_EQ(Catalogue::storeSlots('M').count, 8);
    EXPECT_EQ(Catalogue::storeSlots('i').first, 163);
    EXPECT_EQ(Catalogue::storeSlots('i').count, 12);
    EXPECT_EQ(Catalogue::storeSlots('K').first, 17);
    EXPECT_EQ(Catalogue::storeSlots('^').first, 24);
    EXPECT_EQ(Catalogue::storeSlots('Q').first, 190);
    EXPECT_EQ(Catalogue::storeSlots('k').first, 175);
    EXPECT_EQ(Catalogue::storeSlots('y').first, 189);
    EXPECT_EQ(Catalogue::storeSlots('<').count, 0);
    EXPECT_EQ(Catalogue::storeSlots('j').count, 0);
    EXPECT_EQ(Catalogue::storeSlots('z').count, 0);
}

TEST(ParameterCatalogueTest, StoreFormsOfReadAndSentValues) {
    ParameterStore store;
    // Lists keep index + 1.
    Catalogue::storeSent(store, Catalogue::at('A'), ControlValue{7}, 15);
    EXPECT_EQ(store.get(0), 8);
    // The gimbal scale: the read-back keeps what the page shows, the sender the wire value.
    Catalogue::storeRead(store, Catalogue::at('J'), ControlValue{50}, 150);
    EXPECT_EQ(store.get(18), 50);
    Catalogue::storeSent(store, Catalogue::at('J'), ControlValue{50}, 150);
    EXPECT_EQ(store.get(18), 150);
    // Servo mid points keep the position without the 100.
    Catalogue::storeSent(store, Catalogue::at('^'), ControlValue{-30}, 70);
    EXPECT_EQ(store.get(24), -30);
    // The GPS senders leave their slots to the read-back.
    store.set(13, 42);
    Catalogue::storeSent(store, Catalogue::at('@'), ControlValue{7}, 7);
    EXPECT_EQ(store.get(13), 42);
    Catalogue::storeRead(store, Catalogue::at('@'), ControlValue{7}, 7);
    EXPECT_EQ(store.get(13), 7);
    // One slot per box.
    Catalogue::storeRead(store, Catalogue::at('N'), ControlValue{0, 0x81}, 0x81);
    EXPECT_EQ(store.get(39), 1);
    EXPECT_EQ(store.get(40), 0);
    EXPECT_EQ(store.get(46), 1);
    // The frame numbers are stored by the frame dialog's Save, not by the read-back.
    Catalogue::storeRead(store, Catalogue::at('n'), ControlValue{300}, 5300);
    EXPECT_EQ(store.get(178), 0);
    Catalogue::storeSent(store, Catalogue::at('n'), ControlValue{300}, 5300);
    EXPECT_EQ(store.get(178), 300);
    Catalogue::storeSent(store, Catalogue::at('k'), ControlValue{1}, 6);
    EXPECT_EQ(store.get(175), 6);
}

}  // namespace
}  // namespace orva
