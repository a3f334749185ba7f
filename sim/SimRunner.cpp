#include "sim/SimRunner.h"

#include <poll.h>
#include <sys/inotify.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <sys/stat.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace orva::sim {
namespace {

// 115200 baud, 8N1: ten bit times per byte.
constexpr auto kByteTime = std::chrono::nanoseconds(10'000'000'000LL / 115200);
// How long a write waits for a line that nobody reads before its bytes are lost.
constexpr auto kWritePatience = std::chrono::milliseconds{500};
// How often a line that nobody holds is looked at again, should the watch on its opening fail.
constexpr auto kIdleCheck = std::chrono::milliseconds{20};
constexpr auto kMaxWait = std::chrono::milliseconds{100};
// Below this a wait spins instead of sleeping: a sleep wakes up tens of microseconds late, which
// would count against the tool on a line paced per answer.
constexpr auto kSpin = std::chrono::microseconds{100};
// How long a closing line waits for the far end to read its last bytes.
constexpr auto kClosePatience = std::chrono::milliseconds{2000};

int millisUntil(SimRunner::Clock::time_point when) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(when - SimRunner::Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
}

}  // namespace

SimRunner::SimRunner(SimOptions options)
    : m_options(std::move(options)), m_model(m_options.controller), m_faults(m_options.faults) {}

SimRunner::~SimRunner() {
    stop();
}

std::string SimRunner::start() {
    if (m_started) {
        throw std::runtime_error("the simulator has already been started");
    }
    m_started = true;
    m_start = Clock::now();
    m_lineFree = m_start;
    m_inFree = m_start;
    m_ready = m_start;
    if (!m_log.open(m_options.logPath, m_start)) {
        throw std::runtime_error("cannot write the log " + m_options.logPath + ": " +
                                 std::strerror(errno));
    }
    std::string error;
    if (!m_pty.open(error)) {
        throw std::runtime_error(error);
    }
    if (!m_options.linkPath.empty()) {
        struct stat info {};
        // A link left by an earlier run is replaced; anything else at that path is kept.
        if (::lstat(m_options.linkPath.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
            ::unlink(m_options.linkPath.c_str());
        }
        if (::symlink(m_pty.slavePath().c_str(), m_options.linkPath.c_str()) != 0) {
            const std::string reason = std::strerror(errno);
            m_pty.close();
            throw std::runtime_error("cannot link " + m_options.linkPath + ": " + reason);
        }
        m_linked = true;
    }
    if (::pipe(m_wake) != 0) {
        const std::string reason = std::strerror(errno);
        removeLink();
        m_pty.close();
        throw std::runtime_error("pipe: " + reason);
    }
    // A line nobody holds gives no sign when the tool opens it; the device's open does.
    m_opened = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_opened >= 0) {
        ::inotify_add_watch(m_opened, m_pty.slavePath().c_str(), IN_OPEN);
    }
    m_model.setFrameListener([this](std::string_view frame, bool understood) {
        m_log.write(understood ? "RX" : "RX-IGNORED", frame);
    });
    m_running = true;
    m_thread = std::thread([this] { run(); });
    return m_pty.slavePath();
}

void SimRunner::stop() {
    m_stop = true;
    if (m_wake[1] >= 0) {
        const char byte = 0;
        [[maybe_unused]] const ssize_t n = ::write(m_wake[1], &byte, 1);
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
    m_running = false;
    m_pty.close();
    removeLink();
    for (int* fd : {&m_wake[0], &m_wake[1], &m_opened}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
}

void SimRunner::removeLink() {
    if (m_linked) {
        ::unlink(m_options.linkPath.c_str());
        m_linked = false;
    }
}

bool SimRunner::pause(std::chrono::microseconds delay) {
    return pauseUntil(Clock::now() + delay);
}

bool SimRunner::pauseUntil(Clock::time_point when) {
    pollfd wake{m_wake[0], POLLIN, 0};
    constexpr auto kPollSlack = std::chrono::milliseconds{1};
    while (!m_stop) {
        const auto left = when - Clock::now();
        if (left <= Clock::duration::zero()) {
            return true;
        }
        if (left > kPollSlack + kSpin) {
            // poll counts whole milliseconds and rounds up: wake a little early, then sleep on.
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(left - kSpin);
            ::poll(&wake, 1, static_cast<int>(ms.count()));
        } else if (left > kSpin) {
            std::this_thread::sleep_until(when - kSpin);
        }
    }
    return false;
}

void SimRunner::run() {
    // Wire times are a few hundred microseconds; the default timer slack of 50 us would show.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    bool wasStreaming = false;
    while (!m_stop && !m_lineClosed) {
        auto wait = m_hungUp ? kIdleCheck : kMaxWait;
        int timeout = static_cast<int>(wait.count());
        if (m_model.streaming()) {
            timeout = std::min(timeout, millisUntil(m_nextFrame));
        }
        if (m_holdUntil) {
            timeout = std::min(timeout, millisUntil(*m_holdUntil));
        }
        pollfd fds[3] = {{m_pty.fd(), POLLIN, 0}, {m_wake[0], POLLIN, 0}, {m_opened, POLLIN, 0}};
        // While nobody holds the slave the master reports a hang-up at once; the wake pipe and
        // the device's opening are watched then, so the loop does not spin and a tool that opens
        // the line is answered at once.
        const int watched = m_hungUp ? 1 : 0;
        if (::poll(fds + watched, 2, timeout) < 0 && errno != EINTR) {
            break;
        }
        if (fds[2].revents & POLLIN) {
            char events[4096];
            while (::read(m_opened, events, sizeof events) > 0) {
            }
        }
        if (m_stop) {
            break;
        }
        pollfd line{m_pty.fd(), POLLIN, 0};
        ::poll(&line, 1, 0);
        const bool hungUp = (line.revents & POLLHUP) != 0;
        if (hungUp && !m_hungUp) {
            m_pty.discardStale();
        }
        m_hungUp = hungUp;
        if (line.revents & POLLIN) {
            const std::string bytes = m_pty.read();
            if (!bytes.empty()) {
                serveInput(bytes);
            }
        }
        const bool streaming = m_model.streaming();
        const auto now = Clock::now();
        if (streaming && !wasStreaming) {
            m_nextFrame = now + m_options.streamInterval;
        } else if (streaming && now >= m_nextFrame) {
            const std::chrono::duration<double> sinceStart = now - m_start;
            deliver(m_model.monitorFrame(sinceStart.count()));
            m_nextFrame += m_options.streamInterval;
            if (m_nextFrame < Clock::now()) {
                m_nextFrame = Clock::now() + m_options.streamInterval;
            }
        }
        wasStreaming = streaming;
        releaseHeld();
    }
    m_running = false;
}

// Answers held back for joining wait for company no longer than their window.
void SimRunner::releaseHeld() {
    if (!m_faults.holding()) {
        m_holdUntil.reset();
    } else if (!m_holdUntil) {
        m_holdUntil = Clock::now() + m_faults.holdLimit();
    } else if (Clock::now() >= *m_holdUntil) {
        m_holdUntil.reset();
        deliver(m_faults.release());
    }
}

void SimRunner::serveInput(const std::string& bytes) {
    const bool paced = m_options.wireTiming == WireTiming::PerAnswer;
    if (paced) {
        // The pseudo-terminal hands the command over at once; on the wire its last byte lands
        // later, and the controller starts on it only then and only once done with the last one.
        m_inFree = std::max(Clock::now(), m_inFree) + kByteTime * static_cast<long>(bytes.size());
        m_ready = std::max(m_inFree, m_ready);
    }
    const std::vector<Outgoing> messages = m_model.receive(bytes);
    // The image is on disk before the answer that completes the upgrade leaves.
    storeImage();
    for (const Outgoing& message : messages) {
        const bool works =
            message.kind == Outgoing::Kind::Reply && m_options.commandTime.count() > 0;
        if (works && paced) {
            m_ready += m_options.commandTime;  // the answer's write waits for it
        } else if (works && !pause(m_options.commandTime)) {
            return;
        }
        deliver(message);
        if (m_lineClosed || m_stop) {
            return;
        }
    }
}

void SimRunner::deliver(const Outgoing& message) {
    deliver(m_faults.shape(message));
}

void SimRunner::deliver(const WirePlan& plan) {
    for (const WireWrite& write : plan.writes) {
        if (write.delay.count() > 0 && !pause(write.delay)) {
            return;
        }
        writeToLine(write.bytes);
    }
    if (plan.closeLine) {
        closeLine();
    }
}

void SimRunner::writeToLine(std::string_view bytes) {
    if (m_hungUp || bytes.empty()) {
        return;  // nobody listens: the bytes are lost, as on an unplugged line
    }
    if (m_options.wireTiming == WireTiming::PerAnswer) {
        // The whole write leaves when its last byte would have crossed the wire.
        const auto at = std::max({Clock::now(), m_ready, m_lineFree}) +
                        kByteTime * static_cast<long>(bytes.size());
        if (!pauseUntil(at)) {
            return;
        }
        m_log.write("TX", bytes);
        m_pty.write(bytes, kWritePatience);
        m_lineFree = at;
        return;
    }
    m_log.write("TX", bytes);
    if (m_options.wireTiming == WireTiming::None) {
        m_pty.write(bytes, kWritePatience);
        return;
    }
    for (char byte : bytes) {
        const auto at = std::max(Clock::now(), m_lineFree);
        std::this_thread::sleep_until(at);
        m_pty.write(std::string_view(&byte, 1), kWritePatience);
        m_lineFree = at + kByteTime;
    }
}

void SimRunner::closeLine() {
    m_log.write("CLOSE", "");
    m_pty.closeAfterDrain(kClosePatience);
    removeLink();
    m_lineClosed = true;
}

void SimRunner::storeImage() {
    auto image = m_model.takeCompletedImage();
    if (!image || m_options.imagePath.empty()) {
        return;
    }
    std::ofstream file(m_options.imagePath, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(image->data()),
               static_cast<std::streamsize>(image->size()));
}

}  // namespace orva::sim
