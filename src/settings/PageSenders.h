#pragma once

#include <array>
#include <functional>
#include <set>

#include "model/ActionTable.h"
#include "model/LanguageFlag.h"
#include "model/WindowModel.h"
#include "platform/IPrompts.h"
#include "protocol/Link.h"
#include "settings/ParameterCatalogue.h"
#include "settings/ParameterStore.h"
#include "settings/ReadbackChain.h"

namespace orva {

// What the main area and the basic, GPS, gimbal and voltage pages write to the controller when
// the user changes a setting: sliders on release, lists on selection, check boxes on click, the
// magnetic declination and the battery calibration after a confirmation.
class PageSenders : public IRestartable {
  public:
    PageSenders(Link& link, const ReadbackChain& readback, WindowModel& model,
                ParameterStore& store, IPrompts& prompts, const LanguageFlag& language,
                std::function<void()> linkRestart);

    void registerWith(ActionTable& actions);

    // The four cell voltages as typed when the calibration last started; its acknowledgements
    // send their running sums.
    const std::array<int, 4>& calibrationValues() const { return m_calibration; }
    // The file variant forgets a calibration that was under way.
    void onRestart(RestartKind kind) override;

  private:
    // Sliders: a draw, or a move by keyboard, shows the position; a release sends it.
    void onSliderMoved(const ParameterEntry& entry, int position, bool writesStore);
    void onSliderReleased(const ParameterEntry& entry, int position, bool writesStore);
    void onListSelected(const ParameterEntry& entry);
    void onSensorClicked();
    void onDeclinationSet();
    void onCalibrate();

    // Encodes the controls' state, stores it as the entry says and writes the set command.
    void send(const ParameterEntry& entry, const ControlValue& state);
    // The integer exchange of an edit box: its number, or after the "not an integer" message
    // the number it held. False when the text was refused.
    bool exchange(ControlKey edit, int& number);
    void refuseText();
    // Input typed into an edit box waits there until the next exchange reads it.
    void onEditTyped(ControlKey edit, const std::string& text);

    int firmwareVersion() const { return m_readback.firmwareVersion(); }

    Link& m_link;
    const ReadbackChain& m_readback;
    WindowModel& m_model;
    ParameterStore& m_store;
    IPrompts& m_prompts;
    const LanguageFlag& m_language;
    std::function<void()> m_linkRestart;
    std::array<int, 4> m_calibration{};
    // Edits the user has typed into; until then an empty text stands for the number held.
    std::set<ControlKey> m_typed;
};

}  // namespace orva
