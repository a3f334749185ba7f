#include "settings/LiveDisplayLocks.h"

#include <iterator>
#include <vector>

#include "settings/ParameterCatalogue.h"

namespace orva {
namespace {

using D = Dialog;

// Locked controls that edit no parameter; the parameters' own are flagged in the catalogue.
constexpr ControlKey kOtherLocks[] = {
    {D::Main, 1000},
    {D::Main, 1061},  // port choice
    {D::Main, 1001},
    {D::Main, 1028},
    {D::Main, 1043},  // firmware choice, start
    {D::Main, 1018},  // the declination's Set
    {D::Main, 1015},
    {D::Main, 1100},  // save and restore
    {D::Main, 1017},
    {D::Main, 1019},  // Refresh, language
    // The switch position indicators and the failsafe indicator.
    {D::Custom, 1038},
    {D::Custom, 1039},
    {D::Custom, 1040},
    {D::Custom, 1045},
    {D::Custom, 1046},
};

std::vector<ControlKey> collectLocks() {
    std::vector<ControlKey> keys(std::begin(kOtherLocks), std::end(kOtherLocks));
    for (const ParameterEntry& e : ParameterCatalogue::entries()) {
        const unsigned lock = e.look.liveLock;
        for (auto [bit, id] :
             {std::pair{live_lock::kCaption, e.look.caption}, std::pair{live_lock::kCombo, e.combo},
              std::pair{live_lock::kSlider, e.slider}, std::pair{live_lock::kEdit, e.edit}}) {
            if (lock & bit) {
                keys.push_back(ParameterCatalogue::key(e, id));
            }
        }
        for (std::size_t k = 0; k < e.boxes.size(); ++k) {
            if ((e.look.lockedBoxes >> k) & 1u) {
                keys.push_back(ParameterCatalogue::key(e, e.boxes[k]));
            }
        }
    }
    return keys;
}

}  // namespace

std::span<const ControlKey> liveDisplayLockedControls() {
    static const std::vector<ControlKey> kLocks = collectLocks();
    return kLocks;
}

}  // namespace orva
