#pragma once

#include <array>

namespace orva {

// The integer copy of every setting and check box, in the order of the parameter save file:
// filled by the read-back, updated by every sender, read when saving.
class ParameterStore {
  public:
    static constexpr int kSize = 200;
    static constexpr int kUsed = 191;  // slots 0 to 190

    int get(int slot) const { return valid(slot) ? m_slots[slot] : 0; }
    void set(int slot, int value) {
        if (valid(slot)) {
            m_slots[slot] = value;
        }
    }
    void clear() { m_slots.fill(0); }

  private:
    static bool valid(int slot) { return slot >= 0 && slot < kSize; }
    std::array<int, kSize> m_slots{};
};

}  // namespace orva
