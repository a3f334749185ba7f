#pragma once

#include <string>

#include "core/ActionTable.h"
#include "core/UserAction.h"
#include "firmware/FirmwareUpgrade.h"
#include "frame/FrameDialogLogic.h"
#include "model/Language.h"
#include "model/WindowModel.h"
#include "monitor/CalibrationChain.h"
#include "monitor/LiveMonitor.h"
#include "paramfile/ParameterFiles.h"
#include "platform/IClock.h"
#include "platform/IFiles.h"
#include "platform/IPrompts.h"
#include "protocol/ProtocolEngine.h"
#include "protocol/ProtocolState.h"
#include "serial/CMSComm.h"
#include "serial/ConfigFile.h"
#include "settings/CustomPageSenders.h"
#include "settings/PageSenders.h"
#include "settings/ParameterStore.h"
#include "settings/ReadbackChain.h"
#include "window/WindowLogic.h"

namespace orva {

// The heart of the main window without its widgets: all protocol state, the parameter store and
// the model of what the window shows. The view forwards the user's actions here.
class OrvaCore {
  public:
    static constexpr int kPortCount = 20;
    static constexpr int kDefaultPort = 3;

    OrvaCore(CMSComm& port, IClock& clock, IPrompts& prompts, IFiles& files,
             std::string configPath = ConfigFile::kFileName);

    // The window's start state, ending with the link restart that opens the stored port.
    void initialise();

    // Refresh button: the file-variant link restart.
    void onRefresh();
    // A pick in the COM list (position 0 is COM1): the combo-variant link restart.
    void onPortSelected(int position);

    // Everything the user does to a control. Check boxes, lists and sliders take the new state
    // into the model first; then the handler registered for the action runs.
    void onUserAction(const UserAction& action);
    ActionTable& actions() { return m_actions; }

    void linkRestartFromFile();
    void linkRestartFromCombo();

    Language language() const { return m_window.language(); }
    // The window's close box: true when the user confirms closing.
    bool onCloseRequested() { return m_window.requestClose(); }
    bool openFailed() const { return m_openFailed; }

    WindowModel& model() { return m_model; }
    ProtocolState& state() { return m_state; }
    ProtocolEngine& engine() { return m_engine; }
    ParameterStore& store() { return m_store; }
    IPrompts& prompts() { return m_prompts; }
    IClock& clock() { return m_clock; }
    IFiles& files() { return m_files; }
    WindowLogic& window() { return m_window; }
    const PageSenders& senders() const { return m_senders; }
    CMSComm& port() { return m_port; }
    LiveMonitor& monitor() { return m_monitor; }
    ParameterFiles& paramFiles() { return m_paramFiles; }
    FrameDialogLogic& frame() { return m_frame; }
    FirmwareUpgrade& firmware() { return m_firmware; }

  private:
    // The status box, in the current language.
    void showStatus(bool opened);
    void showPortDevice();
    // Line settings and input discard shared by both restart variants.
    void configureLine();
    void reportFileError(const std::string& error);
    // Protocol mode 15: an acknowledgement is complete at exactly 8 bytes; after a pause it
    // selects the next command of the chain it belongs to.
    void onAcknowledgement();

    CMSComm& m_port;
    IClock& m_clock;
    IPrompts& m_prompts;
    IFiles& m_files;
    ConfigFile m_config;

    WindowModel m_model;
    ProtocolState m_state;
    ProtocolEngine m_engine;
    ParameterStore m_store;
    ActionTable m_actions;
    WindowLogic m_window;
    // The query chains that fill the model and the store, and the settings pages' senders.
    ReadbackChain m_readback{m_engine, m_model, m_store, [this] { return language(); }};
    // The save file, the controller's default sets and the restore chain.
    ParameterFiles m_paramFiles{m_engine,  m_model, m_store,
                                m_prompts, m_files, [this] { return language(); }};
    PageSenders m_senders{m_engine,
                          m_model,
                          m_store,
                          m_prompts,
                          [this] { return language(); },
                          [this] { linkRestartFromCombo(); }};
    CustomPageSenders m_customSenders{m_engine, m_model, m_store};
    // The live data display, and the calibration rows of the acknowledgement chain.
    LiveMonitor m_monitor{m_engine, m_model, m_store, [this] { return language(); }};
    CalibrationChain m_calibration{m_engine, m_prompts, [this] { return language(); },
                                   [this] { return m_senders.calibrationValues(); }};
    // The custom frame dialog: its checks, its plan and the chain its Save starts.
    FrameDialogLogic m_frame{m_engine,
                             m_model,
                             m_store,
                             m_prompts,
                             [this] { return language(); },
                             [this] { linkRestartFromCombo(); }};
    FirmwareUpgrade m_firmware{m_engine, m_model,  m_prompts,
                               m_files,  m_config, [this] { return language(); }};

    bool m_openFailed = false;
    bool m_statusOpened = false;
};

}  // namespace orva
