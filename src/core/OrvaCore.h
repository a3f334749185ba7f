#pragma once

#include <optional>
#include <string>

#include "core/IWindowCore.h"
#include "firmware/FirmwareUpgrade.h"
#include "frame/FrameDialogLogic.h"
#include "model/ActionTable.h"
#include "model/LanguageFlag.h"
#include "model/WindowModel.h"
#include "monitor/CalibrationChain.h"
#include "monitor/LiveMonitor.h"
#include "paramfile/ParameterBackups.h"
#include "paramfile/ParameterFiles.h"
#include "platform/ICalendar.h"
#include "platform/IClock.h"
#include "platform/IFiles.h"
#include "platform/IPrompts.h"
#include "protocol/Link.h"
#include "serial/CMSComm.h"
#include "serial/ConfigFile.h"
#include "settings/CustomPageSenders.h"
#include "settings/PageSenders.h"
#include "settings/ParameterStore.h"
#include "settings/ReadbackChain.h"
#include "settings/SettingWrite.h"
#include "window/PortRecord.h"
#include "window/PortStatus.h"
#include "window/WindowLogic.h"

namespace orva {

// The main window without its widgets: builds the link, the exchanges and the window logic
// over one model and one parameter store, and wires them to each other and to the user's
// actions. It holds no protocol logic of its own.
class OrvaCore : public IWindowCore, private IRestartable {
  public:
    OrvaCore(CMSComm& port, IClock& clock, IPrompts& prompts, IFiles& files,
             std::string configPath = ConfigFile::kFileName);

    // Keeps a backup of the controller's settings in `folder` before each overwrite;
    // `required`: no overwrite starts without one.
    void keepBackupsIn(std::string folder, ICalendar& calendar, bool required = false) {
        m_backups.keepIn(std::move(folder), calendar, required);
    }

    // The window's start state, ending with the link restart that opens the stored port.
    void initialise();

    WindowModel& model() override { return m_model; }
    void onUserAction(const UserAction& action) override;
    bool onCloseRequested() override { return m_window.requestClose(); }
    const std::vector<PlanItem>& framePlan() const override { return m_frame.plan(); }

    // What a front end without the window drives besides the user's actions.
    // Every exchange's result, after the window's box for it.
    void onResult(ResultSink listener) { m_resultListener = std::move(listener); }
    // Writes one setting as its page does, then reads everything back. The wire value written;
    // nothing, and nothing sent, for a code no control writes or a number outside its controls.
    std::optional<int> writeSetting(char code, int shown) {
        return m_settingWrite.start(code, shown);
    }
    // Reads every setting again, as the end of an overwrite does.
    void readAgain() { m_readback.startAgain(); }
    // Called now and then: the no-answer notice, and a setting write waiting on its answer.
    void tick() {
        m_link.checkQuiet();
        m_settingWrite.check();
    }
    // Called every second or so by the application: the device label follows devices plugged in
    // and pulled out.
    void followDevices() { m_status.followDevices(); }
    // How `exchange` ends when its front end stops waiting: the line went, or the last command
    // has no whole answer.
    ExchangeResult unanswered(Exchange exchange) const;

    Language language() const { return m_language(); }
    const PortStatus& portStatus() const { return m_status; }
    const Link& link() const { return m_link; }
    Link& link() { return m_link; }
    ParameterStore& store() { return m_store; }
    const ReadbackChain& readback() const { return m_readback; }
    ReadbackChain& readback() { return m_readback; }
    const ParameterBackups& backups() const { return m_backups; }
    const LiveMonitor& monitor() const { return m_monitor; }
    LiveMonitor& monitor() { return m_monitor; }
    const FirmwareUpgrade& firmware() const { return m_firmware; }
    const FrameDialogLogic& frame() const { return m_frame; }
    const ParameterFiles& paramFiles() const { return m_paramFiles; }
    ParameterFiles& paramFiles() { return m_paramFiles; }

  private:
    // Shows the window's box for a result, then passes it on.
    void report(const ExchangeResult& result);

    // The file variant puts the servo rate's store entry back to its first item.
    void onRestart(RestartKind kind) override;

    WindowModel m_model;
    LanguageFlag m_language;
    ConfigFile m_config;
    PortRecord m_record;
    ParameterStore m_store;
    ActionTable m_actions;
    Link m_link;
    PortStatus m_status;
    ReadbackChain m_readback;
    WindowLogic m_window;
    ParameterBackups m_backups;
    ParameterFiles m_paramFiles;
    PageSenders m_senders;
    CustomPageSenders m_customSenders;
    LiveMonitor m_monitor;
    CalibrationChain m_calibration;
    FrameDialogLogic m_frame;
    FirmwareUpgrade m_firmware;
    SettingWrite m_settingWrite;
    IPrompts& m_prompts;
    ResultSink m_resultListener;
};

}  // namespace orva
