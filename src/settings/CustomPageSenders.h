#pragma once

#include "model/ActionTable.h"
#include "model/WindowModel.h"
#include "protocol/Link.h"
#include "settings/ParameterCatalogue.h"
#include "settings/ParameterStore.h"

namespace orva {

// What the custom function page writes when the user clicks: a function row of the switch
// matrix, a reverse box, or the power-off delay and its failsafe box. The heading-lock and
// headless rows exclude each other position by position, so a click in one also clears and
// rewrites the other.
class CustomPageSenders {
  public:
    // The pause between the two writes of the heading-lock/headless exclusion.
    static constexpr std::uint64_t kExclusionPauseMs = 20;

    CustomPageSenders(Link& link, WindowModel& model, ParameterStore& store);

    void registerWith(ActionTable& actions);

  private:
    void onRowClicked(const ParameterEntry& row);
    void onExclusiveRowClicked(const ParameterEntry& row, const ParameterEntry& other);
    void onReverseClicked(const ParameterEntry& group);
    void showDelay(int position);
    void onDelaySet();

    // The set command of a row as its boxes stand, with the boxes copied into the store.
    std::string storeAndFrame(const ParameterEntry& row);
    // Input waiting is stale by now: drop it, then write.
    void discardAndWrite(const std::string& bytes);

    Link& m_link;
    WindowModel& m_model;
    ParameterStore& m_store;
};

}  // namespace orva
