#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "model/ControlKey.h"
#include "model/WindowModel.h"
#include "settings/ParameterStore.h"

namespace orva {

// How a control's state becomes the value of a set command.
enum class Encoding {
    Direct,         // the number shown is the wire value
    Offset,         // wire = number + a fixed offset
    VersionOffset,  // wire = number + an offset that only firmware 1211 or older expects
    IndexMap,       // a list index goes through a fixed table
    BitSet,         // each check box owns one bit
    Packed,         // bits 0..3 a number, bit 4 one check box
    ReadOnly,       // read back only; no control of the tool writes it under this code
};

// What a parameter's store slot(s) receive.
enum class StoreForm {
    None,
    Shown,         // the number the page shows
    Wire,          // the wire value
    IndexPlusOne,  // a list's selection index plus 1
    PerBox,        // one slot per check box, 1 or 0, in bit order
};

// How a read value becomes the number a control shows.
struct ReadRule {
    int min = 0;  // accepted wire values, inclusive
    int max = 0;
    int offset = 0;    // subtracted from an accepted value; senders add it
    int fallback = 0;  // shown in place of a value outside min..max
    int divisor = 1;   // an accepted value is divided by it (truncating toward zero)
};

// The state of a parameter's controls: the number of its edit and slider (or its list index,
// -1 for no selection), and its check boxes with box k in bit k. The packed code keeps its
// number (the delay) in `number` and its one check box in bit 0 of `boxes`.
struct ControlValue {
    int number = 0;
    std::uint32_t boxes = 0;
    bool operator==(const ControlValue&) const = default;
};

// Which of a parameter's controls are off while the live data display streams: changing a setting
// then would interleave set commands with the controller's data frames.
namespace live_lock {
enum : unsigned {
    kCaption = 1u << 0,
    kCombo = 1u << 1,
    kSlider = 1u << 2,
    kEdit = 1u << 3,
};
}  // namespace live_lock

// How a parameter's controls are drawn on its page, and which go off during the live display.
struct ControlLook {
    int caption = 0;         // the label or label button naming it; 0 for none
    const char* scale = "";  // the numbers along the slider, from its left end to its right end
    bool inverted = false;   // the slider has its maximum at the left end, as its scale reads
    unsigned liveLock = 0;   // live_lock bits
    std::uint32_t lockedBoxes = 0;  // check boxes off during the live display, box k in bit k
};

struct ParameterEntry {
    char code = 0;
    Dialog dialog = Dialog::Main;
    Encoding encoding = Encoding::Direct;
    const char* english = "";
    const char* chinese = "";
    // Control IDs on `dialog`; 0 where the parameter has no such control.
    int slider = 0;
    int edit = 0;
    int combo = 0;
    std::span<const int> boxes;          // in bit order
    std::span<const int> indexMap;       // wire value of each list index
    std::span<const char* const> items;  // the list's item texts, the same in both languages
    // Slider range, list index range, typed-number range, or the range of the bit set's value.
    int uiMin = 0;
    int uiMax = 0;
    int tick = 0;  // slider tick step; 0 without a slider
    // For every code, and for a version offset from firmware 1212 on.
    ReadRule rule;
    // Version offset only: firmware 1211 or older, and before any version has been read.
    ReadRule oldRule;
    int slot = -1;  // first store slot; -1 for none
    StoreForm onRead = StoreForm::None;
    StoreForm onSend = StoreForm::None;
    ControlLook look;
};

// The one table of parameter codes: which controls edit each, how it travels on the wire and
// where the parameter store keeps it. Pages, read-back, save file and restore all go through it.
class ParameterCatalogue {
  public:
    // Firmware at or below this version number expects the gimbal offsets.
    static constexpr int kLastOffsetFirmware = 1211;

    struct SlotRange {
        int first = -1;
        int count = 0;
    };

    static std::span<const ParameterEntry> entries();
    // Nothing for a character that names no parameter.
    static const ParameterEntry* lookup(char code);
    // The entry of a code the tool itself names; a missing one is a programming error.
    static const ParameterEntry& at(char code);

    static bool oldFirmware(int firmwareVersion) { return firmwareVersion <= kLastOffsetFirmware; }
    static const ReadRule& activeRule(const ParameterEntry& entry, int firmwareVersion);

    // The wire value of a control state; nothing for a read-only code or a list index outside
    // the table.
    static std::optional<int> encode(const ParameterEntry& entry, const ControlValue& state,
                                     int firmwareVersion);
    static std::optional<int> encode(char code, const ControlValue& state, int firmwareVersion);
    // The control state for a read value, with the read-back's limits and fallbacks; nothing
    // when the value leaves the controls as they are (a list value outside the table, or a
    // code without controls).
    static std::optional<ControlValue> decode(const ParameterEntry& entry, int wire,
                                              int firmwareVersion);
    static std::optional<ControlValue> decode(char code, int wire, int firmwareVersion);

    // The one number that stands for a control state where a single number must (orva-cli): the
    // check boxes as bits for a bit set, the packed code's number with its box as bit 4,
    // otherwise the number or list index.
    static int shownNumber(const ParameterEntry& entry, const ControlValue& state);
    // The control state such a number stands for; nothing outside the controls' range.
    static std::optional<ControlValue> fromShown(const ParameterEntry& entry, int shown);

    static SlotRange storeSlots(const ParameterEntry& entry);
    static SlotRange storeSlots(char code);

    // The controls' state as the model holds it: the edit's number (the value last shown beside
    // a slider), the list index, the check boxes.
    static ControlValue fromControls(const WindowModel& model, const ParameterEntry& entry);
    // Shows a state: edit and slider, list, check boxes.
    static void toControls(WindowModel& model, const ParameterEntry& entry,
                           const ControlValue& state);
    // Store writes of the read-back and of the senders, in the entry's form for each.
    static void storeRead(ParameterStore& store, const ParameterEntry& entry,
                          const ControlValue& shown, int wire);
    static void storeSent(ParameterStore& store, const ParameterEntry& entry,
                          const ControlValue& shown, int wire);
    static void storeAs(ParameterStore& store, const ParameterEntry& entry, StoreForm form,
                        const ControlValue& shown, int wire);

    static ControlKey key(const ParameterEntry& entry, int id) { return {entry.dialog, id}; }
    // The text of list item `index`; nothing for a code without a list or an index outside it.
    static std::optional<std::string_view> itemText(const ParameterEntry& entry, int index);
};

}  // namespace orva
