#include "window/WindowLogic.h"

#include <array>
#include <string>

#include "model/ControlIds.h"
#include "window/HelpTips.h"

namespace orva {
namespace {

// Pages in tab order.
constexpr std::array<ControlKey, WindowLogic::kPageCount> kPages = {
    ids::basic::kPage, ids::custom::kPage, ids::gps::kPage, ids::gimbal::kPage, ids::voltage::kPage,
};
// The page buttons, each selecting the tab of its position here.
constexpr std::array<ControlKey, WindowLogic::kPageCount> kPageButtons = {
    ids::main::kPageBasic,  ids::main::kPageCustom,  ids::main::kPageGps,
    ids::main::kPageGimbal, ids::main::kPageVoltage,
};

}  // namespace

WindowLogic::WindowLogic(WindowModel& model, LanguageFlag& language, IPrompts& prompts,
                         std::function<void()> showStatus)
    : m_model(model),
      m_language(language),
      m_prompts(prompts),
      m_showStatus(std::move(showStatus)) {}

void WindowLogic::registerActions(ActionTable& actions) {
    actions.on(ActionKind::Click, ids::main::kLanguage,
               [this](const UserAction&) { toggleLanguage(); });
    for (int i = 0; i < kPageCount; ++i) {
        actions.on(ActionKind::Click, kPageButtons[i],
                   [this, i](const UserAction&) { showPage(i); });
    }
    actions.on(ActionKind::Tab, ids::main::kTabs,
               [this](const UserAction& a) { onTabSelected(a.value); });
    for (const HelpTip& tip : helpTips()) {
        const ControlKey label = tip.label;
        actions.on(ActionKind::Click, label, [this, label](const UserAction&) { showTip(label); });
    }
}

void WindowLogic::initialise() {
    m_language.set(Language::Chinese);
    m_switched = false;
    applyTexts();
    const auto tabs = tabItemTexts();
    for (int i = 0; i < kPageCount; ++i) {
        m_model.setText(kPages[i], std::string(tabs[i]));
    }
    m_model.setValue(ids::main::kMultiAxis, 0);
    m_model.setValue(ids::main::kEsc, 0);
    m_model.setValue(ids::main::kServo, 0);
    // The restore list shows nothing until the read-back selects the controller's set.
    m_model.setValue(ids::main::kRestoreChoice, -1);
    m_model.setText(ids::main::kUpgradeHint, std::string(upgrade_hint::kChinese));
    m_model.setEnabled(ids::main::kUpgrade, false);
    m_model.setValue(ids::main::kTabs, 0);
    selectPage(0);
}

void WindowLogic::toggleLanguage() {
    const bool toEnglish = m_language() == Language::Chinese;
    m_language.set(toEnglish ? Language::English : Language::Chinese);
    m_switched = true;
    applyTexts();
    m_model.setText(ids::main::kUpgradeHint,
                    std::string(toEnglish ? upgrade_hint::kEnglishAfterLanguageSwitch
                                          : upgrade_hint::kChinese));
    if (m_showStatus) {
        m_showStatus();
    }
}

std::string_view WindowLogic::currentForm(const ControlText& text) const {
    if (m_language() == Language::English) {
        return text.english;
    }
    return m_switched ? text.chineseAfterSwitch() : text.chinese;
}

void WindowLogic::applyTexts() {
    for (const ControlText& text : controlTexts()) {
        m_model.setText(text.key, std::string(currentForm(text)));
    }
}

ControlKey WindowLogic::pageKey(int index) {
    return index >= 0 && index < kPageCount ? kPages[index] : kPages[0];
}

void WindowLogic::selectPage(int index) {
    for (int i = 0; i < kPageCount; ++i) {
        m_model.setVisible(kPages[i], i == index);
    }
}

void WindowLogic::showPage(int index) {
    if (index < 0 || index >= kPageCount) {
        return;
    }
    m_model.setValue(ids::main::kTabs, index);
    selectPage(index);
    stopLiveDisplay();
}

void WindowLogic::onTabSelected(int index) {
    if (index < 0 || index >= kPageCount) {
        return;
    }
    m_model.setValue(ids::main::kTabs, index);
    selectPage(index);
    if (index != kCustomPageIndex) {
        stopLiveDisplay();
    }
}

void WindowLogic::stopLiveDisplay() {
    if (m_stopLiveDisplay) {
        m_stopLiveDisplay();
    }
}

bool WindowLogic::showTip(ControlKey label) {
    const HelpTip* tip = findHelpTip(label);
    if (tip == nullptr) {
        return false;
    }
    // OK and Cancel both only close the box.
    (void)m_prompts.message({tip->text, tip->title, MessageButtons::OkCancel,
                             MessageIcon::Information, MessageResult::Ok});
    return true;
}

bool WindowLogic::requestClose() {
    const bool english = m_language() == Language::English;
    const MessageResult answer = m_prompts.message(
        {english ? "Are you sure to close the Window？" : "你确定要关闭本程序吗？",
         english ? "Halvane Mentioned：" : "Halvane提示：", MessageButtons::YesNo,
         MessageIcon::Question, MessageResult::Yes});
    return answer == MessageResult::Yes;
}

}  // namespace orva
