#include "protocol/Link.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "protocol/Frames.h"

namespace orva {
namespace {

constexpr const char* kLineSettings = "115200,n,8,1";
constexpr int kBufferSize = 1024;
// The controller needs a moment after each acknowledgement before it takes the next command.
constexpr std::uint64_t kAcknowledgementPauseMs = 50;
// Frames of a stream already told to stop may still be on their way for this long.
constexpr std::uint64_t kStopGraceMs = 300;
// Once a found stream has been stopped, a command still unanswered after this goes out again:
// an answer would have come long before.
constexpr std::uint64_t kResendAfterMs = 500;
constexpr std::uint64_t kQuietMs = 2000;
// What is kept of the bytes that made no answer, to name them.
constexpr std::size_t kHeardKept = 48;

bool isAscii(std::string_view bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

}  // namespace

Link::Link(CMSComm& port, IClock& clock, IPortChoice& choice)
    : m_port(port), m_clock(clock), m_choice(choice) {
    m_port.SetOnComm([this] { onComm(); });
}

void Link::onComm() {
    if (m_port.GetCommEvent() == CMSComm::kCommEventLineLost) {
        onLineLost();
        return;
    }
    if (!Framer::reads(m_mode)) {
        return;
    }
    if (m_port.GetCommEvent() == CMSComm::kCommEventReceive) {
        const std::vector<std::uint8_t> bytes = m_port.GetInput();
        heard(bytes);
        m_framer.append(bytes);
    }
    process();
}

void Link::process() {
    if (m_processing) {
        return;
    }
    m_processing = true;
    for (;;) {
        const std::uint64_t before = m_framer.answers();
        const std::optional<Frame> frame = m_framer.next(m_mode);
        const std::uint64_t counted = m_framer.answers() - before;
        if (counted == 0) {
            break;  // only a partial answer waits
        }
        // Monitor frames outside the monitor answer nothing that was asked.
        const bool outside = frame && std::holds_alternative<MonitorWindow>(*frame) &&
                             m_mode != ProtocolMode::Monitor;
        if (counted > (outside ? 1u : 0u)) {
            answered();
        }
        if (outside && !(m_streamExpected && m_streamExpected())) {
            onStrayStream();
        } else if (frame && !outside) {
            dispatch(*frame);
        }
    }
    m_processing = false;
}

// Whatever exchange was under way has lost its line: the window goes back to idle, the port is
// reported not open, and Refresh opens it again.
void Link::onLineLost() {
    if (m_port.GetPortOpen()) {
        m_port.SetPortOpen(false);
    }
    enter(ProtocolMode::Idle, Reply::Emptied);
    // Nothing can answer on a lost line: the loss is reported instead of the silence.
    stopAwaiting();
    m_diagnosis.lost();
    report(LineEvent::Lost);
}

void Link::dispatch(const Frame& frame) {
    const ProtocolMode mode = m_mode;
    if (std::holds_alternative<Acknowledgement>(frame)) {
        pause(kAcknowledgementPauseMs);
    }
    for (RankedOffer& handler : m_handlers[index(mode)]) {
        if (handler.offer(frame)) {
            return;
        }
    }
}

void Link::take(ProtocolMode mode, Exchange exchange, Offer offer) {
    const std::optional<std::size_t> rank = offerRank(mode, exchange);
    if (!rank) {
        throw std::logic_error("an exchange takes frames in a mode the offer order does not list");
    }
    std::vector<RankedOffer>& handlers = m_handlers[index(mode)];
    const auto at = std::find_if(handlers.begin(), handlers.end(),
                                 [&](const RankedOffer& h) { return h.rank >= *rank; });
    if (at != handlers.end() && at->rank == *rank) {
        throw std::logic_error("an exchange registered twice for the frames of one mode");
    }
    handlers.insert(at, {*rank, std::move(offer)});
}

void Link::onStrayStream() {
    const std::uint64_t now = m_clock.tickMs();
    if (m_stopSentMs && now - *m_stopSentMs < kStopGraceMs) {
        return;
    }
    // Not the exchange's own command: what it waits for stays as it was.
    m_port.SetOutput(frames::kMonitorStop);
    m_stopSentMs = now;
    if (m_awaiting) {
        m_resendAfterMs = now + kResendAfterMs;
    }
    m_streamStopped = true;
    report(LineEvent::StreamStopped);
}

void Link::enter(ProtocolMode mode, Reply reply) {
    m_mode = mode;
    switch (reply) {
        case Reply::Kept:
            break;
        case Reply::Emptied:
            m_framer.reset();
            break;
    }
}

void Link::write(std::string_view bytes) {
    m_port.SetOutput(bytes);
    // A closed port has its own words beside the list; no answer is awaited from it.
    m_awaiting = m_port.GetPortOpen();
    m_quietSince.reset();
    m_heard.clear();
    m_resendAfterMs.reset();
    m_lastProgressMs = m_clock.tickMs();
    if (bytes == frames::kMonitorStop) {
        m_stopSentMs = m_lastProgressMs;
    }
    m_lastCommand = isAscii(bytes) ? std::string(bytes) : std::string();
}

bool Link::stopAwaiting() {
    m_awaiting = false;
    m_quietSince.reset();
    m_resendAfterMs.reset();
    return std::exchange(m_quietShown, false);
}

void Link::heard(const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) {
        return;
    }
    m_heard.append(bytes.begin(), bytes.end());
    if (m_heard.size() > kHeardKept) {
        m_heard.erase(0, m_heard.size() - kHeardKept);
    }
    // Bytes after silence: what the quiet holds has changed.
    if (m_quietShown) {
        report(LineEvent::Quiet);
    }
}

void Link::answered() {
    m_heard.clear();
    m_lastProgressMs = m_clock.tickMs();
    if (stopAwaiting()) {
        report(LineEvent::QuietEnded);
    }
}

void Link::checkQuiet() {
    if (!m_awaiting) {
        return;
    }
    const std::uint64_t now = m_clock.tickMs();
    if (m_resendAfterMs && now >= *m_resendAfterMs && !m_lastCommand.empty()) {
        // The stream is stopped and what the exchange waits for never came: it starts again.
        write(std::string(m_lastCommand));
        return;
    }
    if (m_quietShown) {
        return;
    }
    if (!m_quietSince) {
        m_quietSince = now;
    } else if (now - *m_quietSince >= kQuietMs) {
        m_quietShown = true;
        report(LineEvent::Quiet);
    }
}

void Link::sendQuery(char code) {
    write(frames::query(code));
}

void Link::discardAndQuery(char code) {
    discardInput();
    sendQuery(code);
}

void Link::sendSet(char code, int value) {
    write(frames::set(code, value));
}

void Link::sendBytes(std::string_view bytes) {
    write(bytes);
}

void Link::discardInput() {
    const std::vector<std::uint8_t> bytes = m_port.GetInput();
    heard(bytes);
    m_framer.append(bytes);
    // Inside the receive event the bytes wait for the handler to return, so that answers keep
    // their order; from a sender they are handed on now.
    if (!m_processing && Framer::reads(m_mode)) {
        process();
    }
}

void Link::pause(std::uint64_t ms) {
    busyWait(m_clock, ms);
}

void Link::apply(std::initializer_list<LineSetting> settings) {
    for (LineSetting setting : settings) {
        switch (setting) {
            case LineSetting::BinaryInput:
                m_port.SetInputMode(CMSComm::InputMode::Binary);
                break;
            case LineSetting::EveryByteRaisesEvent:
                m_port.SetRThreshold(1);
                break;
            case LineSetting::WholeInput:
                m_port.SetInputLen(0);
                break;
            case LineSetting::NoHandshake:
                m_port.SetHandshaking(CMSComm::Handshaking::None);
                break;
        }
    }
}

void Link::joinRestarts(IRestartable& holder) {
    if (std::find(m_restartables.begin(), m_restartables.end(), &holder) == m_restartables.end()) {
        m_restartables.push_back(&holder);
    }
}

void Link::restart(RestartKind kind) {
    // Each holder puts back only its own state, so the order they are told in changes nothing.
    for (IRestartable* holder : m_restartables) {
        holder->onRestart(kind);
    }
    switch (kind) {
        case RestartKind::File:
            restartFromFile();
            break;
        case RestartKind::Combo:
            restartFromCombo();
            break;
    }
}

void Link::restartFromFile() {
    enter(ProtocolMode::Idle, Reply::Emptied);
    forgetLine();
    m_openFailed = false;
    if (m_port.GetPortOpen()) {
        m_port.SetPortOpen(false);
    }
    m_port.SetCommPort(m_choice.recorded());
    setBufferSizes();
    if (m_port.GetPortOpen()) {
        // The port refused to close: reported not opened, and the choice is left as it was.
        report(LineEvent::NotClosed);
    } else {
        open();
        m_choice.tried();
    }
    configureLine();
    m_mode = ProtocolMode::Idle;
    if (m_readbackStart) {
        m_readbackStart();
    }
}

void Link::restartFromCombo() {
    forgetLine();
    m_openFailed = false;
    if (m_port.GetPortOpen()) {
        m_port.SetPortOpen(false);
    }
    m_port.SetCommPort(m_choice.listed());
    setBufferSizes();
    if (!m_port.GetPortOpen()) {
        open();
        m_choice.tried();
    }
    configureLine();
    enter(ProtocolMode::Idle, Reply::Emptied);
    if (m_readbackStart) {
        m_readbackStart();
    }
}

void Link::forgetLine() {
    m_heard.clear();
    m_streamStopped = false;
    m_stopSentMs.reset();
    if (stopAwaiting()) {
        report(LineEvent::QuietEnded);
    }
}

void Link::openStoredPortIfClosed() {
    if (m_port.GetPortOpen()) {
        return;
    }
    m_port.SetCommPort(m_choice.recorded());
    m_port.SetPortOpen(true);
}

void Link::open() {
    m_openFailed = !m_port.SetPortOpen(true);
    if (m_openFailed) {
        m_diagnosis.failed(m_port);
    } else {
        m_diagnosis.clear();
    }
    report(m_openFailed ? LineEvent::OpenFailed : LineEvent::Opened);
}

void Link::setBufferSizes() {
    m_port.SetInBufferSize(kBufferSize);
    m_port.SetOutBufferSize(kBufferSize);
}

void Link::configureLine() {
    m_port.SetSettings(kLineSettings);
    m_port.SetInputMode(CMSComm::InputMode::Binary);
    m_port.SetRThreshold(1);
    m_port.SetInputLen(0);
    // Whatever the line held before the restart answers nothing that is asked from now on.
    m_port.GetInput();
    m_framer.reset();
    m_port.SetHandshaking(CMSComm::Handshaking::None);
}

void Link::report(LineEvent event) {
    if (m_listener) {
        m_listener(event);
    }
}

}  // namespace orva
