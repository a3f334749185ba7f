#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "model/UserAction.h"
#include "model/WindowModel.h"
#include "protocol/ExchangeResult.h"
#include "protocol/Link.h"
#include "settings/ParameterCatalogue.h"
#include "settings/ReadbackChain.h"

namespace orva {

// One setting written without its page: the controls take the new state and the window's own
// action for it runs (a slider's release, a list's selection, a check box's click, the
// declination's Set), so the controller gets exactly the bytes the page sends, heading lock and
// headless exclusion included. Then everything is read back, and the result says whether the
// controller kept the value.
class SettingWrite {
  public:
    // Runs a user action as the window's core does.
    using Act = std::function<void(const UserAction&)>;

    SettingWrite(const Link& link, ReadbackChain& readback, WindowModel& model, Act act);

    // The window action that writes `state`, after the model has taken the state of the
    // controls it does not touch; nothing for a code no control of the window writes.
    static std::optional<UserAction> actionFor(const ParameterEntry& entry,
                                               const ControlValue& state, WindowModel& model);

    // The wire value written; nothing, and nothing sent, for a code no control writes or a
    // number outside its controls.
    std::optional<int> start(char code, int shown);
    // Called now and then: once the write has an answer, everything is read back.
    void check();
    // The main read-back got to its end.
    void onReadBack();

    void setResultSink(ResultSink sink) { m_result.connect(std::move(sink)); }

  private:
    enum class Phase { None, Answer, ReadBack };

    const Link& m_link;
    ReadbackChain& m_readback;
    WindowModel& m_model;
    Act m_act;
    ResultOut m_result;
    Phase m_phase = Phase::None;
    char m_code = 0;
    int m_wire = 0;
    std::uint64_t m_answersBefore = 0;
};

}  // namespace orva
