#include "core/OrvaCore.h"

#include "model/ControlIds.h"
#include "window/ResultBoxes.h"

namespace orva {
namespace {

// Store slot of the servo output rate; a link restart puts its "50 Hz" entry back.
const int kServoRateSlot = ParameterCatalogue::at('P').slot;

}  // namespace

OrvaCore::OrvaCore(CMSComm& port, IClock& clock, IPrompts& prompts, IFiles& files,
                   std::string configPath)
    : m_config(files, std::move(configPath)),
      m_record(m_config, m_model, m_language),
      m_link(port, clock, m_record),
      m_status(m_link, m_record, m_model, m_language),
      m_readback(m_link, m_model, m_store, m_language),
      m_window(m_model, m_language, prompts, [this] { m_status.show(); }),
      m_backups(m_link, m_readback, m_store, m_model, files, m_language),
      m_paramFiles(m_link, m_model, m_store, m_readback, prompts, files, m_language),
      m_senders(m_link, m_readback, m_model, m_store, prompts, m_language,
                [this] { m_link.restart(RestartKind::Combo); }),
      m_customSenders(m_link, m_model, m_store),
      m_monitor(m_link, m_readback, m_model, m_store, m_language),
      m_calibration(m_link, [this] { return m_senders.calibrationValues(); }),
      m_frame(m_link, m_model, m_store, prompts, m_language,
              [this] { m_link.restart(RestartKind::Combo); }),
      m_firmware(m_link, m_readback, m_model, prompts, files, m_language),
      m_settingWrite(m_link, m_readback, m_model,
                     [this](const UserAction& action) { onUserAction(action); }),
      m_prompts(prompts) {
    m_link.joinRestarts(*this);
    const ResultSink report = [this](const ExchangeResult& result) { this->report(result); };
    m_readback.setResultSink(report);
    m_paramFiles.setResultSink(report);
    m_monitor.setResultSink(report);
    m_calibration.setResultSink(report);
    m_frame.setResultSink(report);
    m_firmware.chooser().setResultSink(report);
    m_firmware.transfer().setResultSink(report);
    m_settingWrite.setResultSink(report);
    m_link.setListener([this](LineEvent event) { m_status.on(event); });
    m_record.setListener([this] { m_status.show(); });
    m_model.notices().setListener([this] { m_status.show(); });
    m_readback.setPlanRedraw([this] { m_frame.redrawFromReadback(); });
    m_link.setStreamExpected([this] { return m_monitor.running(); });
    m_readback.setFrameChainEnd([this] { m_frame.onFrameReadBack(); });
    m_window.setLiveDisplayStop([this] { m_monitor.stop(LiveMonitor::StopCause::PageSwitch); });
    m_firmware.transfer().setChannelReset([this] { m_monitor.clearChannels(); });
    m_paramFiles.setBeforeOverwrite([this] { return m_backups.beforeOverwrite(); });
    m_firmware.transfer().setBeforeStart([this] { return m_backups.beforeOverwrite(); });

    m_senders.registerWith(m_actions);
    m_paramFiles.registerWith(m_actions);
    m_customSenders.registerWith(m_actions);
    m_monitor.registerWith(m_actions);
    m_frame.registerWith(m_actions);
    m_firmware.registerWith(m_actions);
    m_window.registerActions(m_actions);
    m_actions.on(ActionKind::Click, ids::main::kRefresh,
                 [this](const UserAction&) { m_link.restart(RestartKind::File); });
    m_actions.on(ActionKind::Select, ids::main::kPortCombo,
                 [this](const UserAction&) { m_link.restart(RestartKind::Combo); });
}

void OrvaCore::onUserAction(const UserAction& action) {
    switch (action.kind) {
        case ActionKind::Check:
        case ActionKind::Select:
        case ActionKind::SliderDraw:
        case ActionKind::SliderRelease:
        case ActionKind::SliderKey:
            m_model.setValue(action.key, action.value);
            break;
        case ActionKind::Tab:
            m_model.setValue(ids::main::kTabs, action.value);
            break;
        case ActionKind::Click:
        case ActionKind::EditCommit:
            break;
    }
    m_actions.dispatch(action);
}

void OrvaCore::report(const ExchangeResult& result) {
    if (const auto box = resultBox(result, m_language())) {
        m_prompts.message(*box);
    }
    if (m_resultListener) {
        m_resultListener(result);
    }
    // An overwrite ends with the read-back that follows it.
    if (result.exchange == Exchange::Readback) {
        m_paramFiles.onReadBack();
        m_settingWrite.onReadBack();
    }
}

ExchangeResult OrvaCore::unanswered(Exchange exchange) const {
    if (!m_link.portOpen()) {
        return {exchange, Outcome::LineLost};
    }
    std::string command = m_link.lastCommand();
    if (command.ends_with('\r')) {
        command.pop_back();
    }
    return {exchange, Outcome::NotAnswering, Refusal::None, command};
}

void OrvaCore::initialise() {
    m_window.initialise();
    m_model.setValue(ids::main::kPortCombo, Link::kDefaultPort - 1);
    m_store.clear();
    m_link.restart(RestartKind::File);
}

void OrvaCore::onRestart(RestartKind kind) {
    switch (kind) {
        case RestartKind::File:
            m_store.set(kServoRateSlot, 1);
            break;
        case RestartKind::Combo:
            break;
    }
}

}  // namespace orva
