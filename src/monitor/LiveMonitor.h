#pragma once

#include <functional>

#include "core/ActionTable.h"
#include "model/Language.h"
#include "model/WindowModel.h"
#include "monitor/MonitorValues.h"
#include "protocol/ProtocolEngine.h"
#include "settings/ParameterStore.h"

namespace orva {

// The live data display of the custom function page. Its button starts and stops the
// controller's stream of receiver, output and sensor frames; while the stream runs the receive
// event decodes the frames (mode 10) into the page's display controls, and the setting controls
// stay locked. After a reverse box's acknowledgement the reverse bits are read back (mode 20)
// and the stream resumes.
class LiveMonitor {
  public:
    using LanguageSource = std::function<Language()>;

    // Takes over the receive event's modes 10 and 20.
    LiveMonitor(ProtocolEngine& engine, WindowModel& model, ParameterStore& store,
                LanguageSource language);

    // The data display button.
    void registerWith(ActionTable& actions);

    // The data display button: starts the stream when stopped, stops it when running.
    void toggle();
    // The window's page switch has already stopped the stream and unlocked the controls.
    void markStopped() { m_running = false; }
    // The link restart: the display counts as stopped, whatever the controller still sends.
    void reset() { m_running = false; }
    // The port changed: the receiver and output values start again from 0.
    void clearChannels();

    bool running() const { return m_running; }
    const MonitorValues& values() const { return m_values; }

  private:
    void start();
    void stop();
    void onMonitorInput();
    void onReverseInput();
    // Writes every display control from the values.
    void showValues();
    void setLocked(bool locked);

    ProtocolEngine& m_engine;
    WindowModel& m_model;
    ParameterStore& m_store;
    LanguageSource m_language;
    MonitorValues m_values;
    bool m_running = false;
};

}  // namespace orva
