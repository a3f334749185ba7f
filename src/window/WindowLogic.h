#pragma once

#include <functional>
#include <string_view>

#include "model/ActionTable.h"
#include "model/ControlKey.h"
#include "model/LanguageFlag.h"
#include "model/WindowModel.h"
#include "platform/IPrompts.h"
#include "window/WindowTexts.h"

namespace orva {

// The main window's own behaviour: its texts in both languages and the language switch, page
// switching with the live display stop, the help tips and the close confirmation. It writes
// what the window shows into the model; the view only draws it.
class WindowLogic {
  public:
    static constexpr int kPageCount = 5;
    static constexpr int kCustomPageIndex = 1;

    // `showStatus` writes the status box anew in the current language, in the form that matches
    // the port's state; the link restart knows that state.
    WindowLogic(WindowModel& model, LanguageFlag& language, IPrompts& prompts,
                std::function<void()> showStatus);

    // Language button, page buttons, tab control and label buttons.
    void registerActions(ActionTable& actions);

    // Start state: Chinese template texts, tab items, first list entries, the upgrade hint, the
    // Upgrade button disabled, page 0 shown on tab 0. The link restart follows separately.
    void initialise();

    Language language() const { return m_language(); }
    void toggleLanguage();

    // A page button: select tab `index`, show its page, and stop the live display.
    void showPage(int index);
    // The tab control's own selection: as a page button, except that the custom function page
    // keeps the live display running so that its values can be watched.
    void onTabSelected(int index);
    // Stops the live display stream and unlocks the setting controls, even when it is stopped.
    void stopLiveDisplay();
    // The live monitor, which lives above the window logic, does the stopping.
    void setLiveDisplayStop(std::function<void()> stop) { m_stopLiveDisplay = std::move(stop); }

    // The help message box of a label button; false when the button has none.
    bool showTip(ControlKey label);
    // Asks whether to close the program; true when the user confirms.
    bool requestClose();

    // The key {page dialog, 0} whose `visible` flag shows the page of tab `index`.
    static ControlKey pageKey(int index);
    // The form of `text` the window shows now.
    std::string_view currentForm(const ControlText& text) const;

  private:
    void applyTexts();
    // Shows the page of `index` and hides the other four.
    void selectPage(int index);

    WindowModel& m_model;
    LanguageFlag& m_language;
    IPrompts& m_prompts;
    std::function<void()> m_showStatus;
    std::function<void()> m_stopLiveDisplay;

    // Once the language has been switched, Chinese texts take their switched forms rather than
    // the template's.
    bool m_switched = false;
};

}  // namespace orva
