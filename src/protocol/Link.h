#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/IClock.h"
#include "protocol/Frame.h"
#include "protocol/Framer.h"
#include "protocol/IPortChoice.h"
#include "protocol/IRestartable.h"
#include "protocol/LineEvent.h"
#include "protocol/OfferOrder.h"
#include "protocol/PortDiagnosis.h"
#include "protocol/ProtocolMode.h"
#include "serial/CMSComm.h"

namespace orva {

// What a mode change does to the bytes received and not yet taken.
enum class Reply {
    Kept,     // they wait for the new mode
    Emptied,  // dropped: they belong to an exchange that no longer runs
};

// Receive settings that some exchanges set again before they start.
enum class LineSetting { BinaryInput, EveryByteRaisesEvent, WholeInput, NoHandshake };

// The one owner of the serial line: the port, the protocol mode, the received bytes (in its
// framer), input discards, the busy waits and the two link restarts. Exchanges register for the
// modes they run in and get typed frames, each whole answer on its own however the line cut or
// joined them; senders ask for a named mode change. What happens to the line is reported as a
// LineEvent; the port to open comes from whoever owns the port choice.
class Link {
  public:
    static constexpr int kPortCount = 20;
    static constexpr int kDefaultPort = 3;

    Link(CMSComm& port, IClock& clock, IPortChoice& choice);

    // Hears what happens to the line.
    void setListener(std::function<void(LineEvent)> listener) { m_listener = std::move(listener); }

    // Registers `exchange`'s handler for frames of type F completed in `mode`, and `holder`, the
    // exchange's state, for the link's restarts. The handlers of one mode are offered a frame in
    // the order of kOfferOrder; one returning false passes it to the next. A pair that the
    // table does not list, or one registered twice, throws std::logic_error.
    template <class F, class Handler>
    void on(ProtocolMode mode, Exchange exchange, IRestartable& holder, Handler handler) {
        joinRestarts(holder);
        take(mode, exchange, [h = std::move(handler)](const Frame& frame) mutable {
            const F* typed = std::get_if<F>(&frame);
            if (typed == nullptr) {
                return false;
            }
            if constexpr (std::is_same_v<std::invoke_result_t<Handler&, const F&>, bool>) {
                return h(*typed);
            } else {
                h(*typed);
                return true;
            }
        });
    }

    // The port's receive event.
    void onComm();

    void enter(ProtocolMode mode, Reply reply = Reply::Kept);
    ProtocolMode mode() const { return m_mode; }
    // Bytes received that no answer has taken yet.
    std::string waitingText() const { return m_framer.waiting(); }
    // Whole answers received since the start, taken by an exchange or not.
    std::uint64_t answers() const { return m_framer.answers(); }
    // The bytes heard since the last whole answer or write, at most the last few dozen: what a
    // controller said that nothing could take.
    const std::string& heardSinceAnswer() const { return m_heard; }
    // When the last write went out or the last whole answer came, on the tick counter; 0 before.
    std::uint64_t lastProgressMs() const { return m_lastProgressMs; }
    // The last ASCII command written, its CR included; empty after a binary packet.
    const std::string& lastCommand() const { return m_lastCommand; }

    // A controller found streaming outside the monitor was told to stop since the last restart.
    bool streamStopped() const { return m_streamStopped; }
    // Says whether the live monitor runs, so that its frames are expected; outside it they say
    // the controller was left streaming.
    void setStreamExpected(std::function<bool()> expected) {
        m_streamExpected = std::move(expected);
    }

    void sendQuery(char code);
    // Discards waiting input first, as every read-back handler does before its next query.
    void discardAndQuery(char code);
    void sendSet(char code, int value);
    void sendBytes(std::string_view bytes);
    // Takes in whatever waits, in the port and in the device behind it. Whole answers among it
    // still reach their exchange in order, as if each had come alone; the rest is dropped.
    void discardInput();
    // A busy wait on the tick counter; it holds the whole window while it runs.
    void pause(std::uint64_t ms);
    void apply(std::initializer_list<LineSetting> settings);

    // Sends the first query of the main read-back; set by whoever owns that chain.
    void setReadbackStart(std::function<void()> start) { m_readbackStart = std::move(start); }

    // `holder` is told once of every link restart, before the port closes, however often it
    // joins.
    void joinRestarts(IRestartable& holder);
    // Tells every holder of state, then closes the port, opens it again and starts the main
    // read-back.
    void restart(RestartKind kind);
    // Opens the recorded port when it is closed, as the upgrade does before it starts.
    void openStoredPortIfClosed();

    bool portOpen() const { return m_port.GetPortOpen(); }
    bool openFailed() const { return m_openFailed; }
    // What stood in the way of the last opening, or of the line since.
    const PortDiagnosis& diagnosis() const { return m_diagnosis; }
    // The port number, the device it stands for now, and the serial layer's last error.
    int portNumber() const { return m_port.GetCommPort(); }
    std::string deviceName() const { return m_port.DeviceName(); }
    std::string lastError() const { return m_port.LastError(); }
    // A command has waited 2 s for a whole answer; heardSinceAnswer() holds what came instead.
    bool quiet() const { return m_quietShown; }
    // Called now and then by the application: when a command has gone out and no whole answer
    // has come back for 2 s, reports it as Quiet. Once a controller found streaming has been
    // told to stop, a command still unanswered goes out again here.
    void checkQuiet();

  private:
    static constexpr std::size_t kModeSlots =
        static_cast<std::size_t>(ProtocolMode::UpgradeEntry) + 1;
    static std::size_t index(ProtocolMode mode) { return static_cast<std::size_t>(mode); }

    using Offer = std::function<bool(const Frame&)>;
    struct RankedOffer {
        std::size_t rank;  // in kOfferOrder
        Offer offer;
    };
    void take(ProtocolMode mode, Exchange exchange, Offer offer);

    // The file variant (start-up, Refresh): the recorded port. A record that cannot be read or
    // written stops nothing: the port opens all the same.
    void restartFromFile();
    // The combo variant (port list, custom frame Save): the port the list shows.
    void restartFromCombo();
    // Frames and hands on every whole answer waiting, in order, each in the mode then running.
    void process();
    void dispatch(const Frame& frame);
    // Monitor frames while no monitor runs: the controller is told once to stop streaming.
    void onStrayStream();
    void write(std::string_view bytes);
    // Bytes came in: kept, the last few dozen, to name them while no whole answer takes them.
    void heard(const std::vector<std::uint8_t>& bytes);
    // A whole answer came: whatever waited is answered.
    void answered();
    // Nothing is awaited any more; true when the no-answer notice was showing.
    bool stopAwaiting();
    void onLineLost();
    // A restart: nothing is awaited, and what was said of the old line goes.
    void forgetLine();
    void setBufferSizes();
    void configureLine();
    void open();
    void report(LineEvent event);

    CMSComm& m_port;
    IClock& m_clock;
    IPortChoice& m_choice;
    std::function<void(LineEvent)> m_listener;
    Framer m_framer;
    ProtocolMode m_mode = ProtocolMode::Idle;
    std::array<std::vector<RankedOffer>, kModeSlots> m_handlers;  // in offer order
    std::vector<IRestartable*> m_restartables;
    std::function<void()> m_readbackStart;
    bool m_openFailed = false;
    PortDiagnosis m_diagnosis;
    bool m_awaiting = false;  // written to, and no whole answer since
    std::optional<std::uint64_t> m_quietSince;
    bool m_quietShown = false;
    std::string m_heard;  // see heardSinceAnswer()
    std::uint64_t m_lastProgressMs = 0;
    bool m_processing = false;  // inside process(): a discard leaves its bytes to it
    std::function<bool()> m_streamExpected;
    std::string m_lastCommand;                     // the last ASCII command written
    std::optional<std::uint64_t> m_stopSentMs;     // when "S~0000\r" last went out
    std::optional<std::uint64_t> m_resendAfterMs;  // set when a found stream was stopped
    bool m_streamStopped = false;                  // until a restart
};

}  // namespace orva
