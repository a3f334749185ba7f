#pragma once

#include <functional>

#include "model/ActionTable.h"
#include "model/LanguageFlag.h"
#include "model/WindowModel.h"
#include "monitor/MonitorFrames.h"
#include "monitor/MonitorValues.h"
#include "protocol/ExchangeResult.h"
#include "protocol/Link.h"
#include "settings/ParameterStore.h"
#include "settings/ReadbackChain.h"

namespace orva {

// The live data display of the custom function page. Its button starts and stops the
// controller's stream of receiver, output and sensor frames; while the stream runs the receive
// event decodes the frames into the page's display controls, and the setting controls
// stay locked. After a reverse box's acknowledgement the reverse bits are read back and the
// stream resumes.
class LiveMonitor : public IRestartable {
  public:
    enum class StopCause {
        Button,      // the data display button
        PageSwitch,  // the window left the custom function page
    };

    // Registers for the monitor frames, the reverse read-back and the link's restarts.
    LiveMonitor(Link& link, const ReadbackChain& readback, WindowModel& model,
                ParameterStore& store, const LanguageFlag& language);

    // The data display button.
    void registerWith(ActionTable& actions);

    // The data display button: starts the stream when stopped, stops it when running.
    void toggle();
    // Stops the stream and unlocks the setting controls, even when it is not running.
    void stop(StopCause cause);
    // The file variant: the display counts as stopped, whatever the controller still sends. The
    // combo variant: the port changed, so the receiver and output values start again from 0.
    void onRestart(RestartKind kind) override;
    void clearChannels();

    // Called after each monitor frame has been shown, with its kind, for a tool that prints the
    // values.
    using FrameListener = std::function<void(monitor_frames::FrameKind)>;
    void setFrameListener(FrameListener listener) { m_frameListener = std::move(listener); }
    // Reports each stop of a display that ran.
    void setResultSink(ResultSink sink) { m_result.connect(std::move(sink)); }

    bool running() const { return m_running; }
    const MonitorValues& values() const { return m_values; }

  private:
    void start();
    void onFrame(const std::string& frame);
    void onReverseReply(const QueryReply& reply);
    // Writes every display control from the values.
    void showValues();
    void setLocked(bool locked);

    Link& m_link;
    const ReadbackChain& m_readback;
    WindowModel& m_model;
    ParameterStore& m_store;
    const LanguageFlag& m_language;
    MonitorValues m_values;
    FrameListener m_frameListener;
    bool m_running = false;
    ResultOut m_result;
};

}  // namespace orva
