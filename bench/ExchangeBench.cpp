// Every long exchange of the real window (widgets, Qt serial port, core) against the simulated
// controller on a pseudo-terminal paced per answer as a USB serial adapter at 115200 baud is,
// each set against its floor: the bytes on the wire, the controller's time per command and the
// pauses the protocol prescribes. Start-up runs the real `orva` binary.
// Usage: bench_exchanges [--runs N] [--upgrade-runs N] [--stream-seconds S] [--markdown FILE]
//                        [--trace 1]
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TimedPort.h"
#include "app/AfterFirstPaint.h"
#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "platform/SteadyClock.h"
#include "sim/PtyTransport.h"
#include "sim/SimRunner.h"
#include "support/Fakes.h"
#include "support/SimulatorLine.h"
#include "ui/COrvaDlg.h"
#include "ui/CjkFont.h"

extern char** environ;

namespace orva::bench {
namespace {

constexpr double kByteUs = 1e6 * 10 / 115200;  // 8N1: ten bit times
constexpr double kCommandUs = 2000;            // the simulator's time per command
constexpr std::size_t kPacketBytes = 64;       // loader packets; the loader answers at once
// A busy wait of N ms on a millisecond tick counter ends when the tick has moved N times: after
// N - 1 to N ms, N - 0.5 on average.
double tickWaitMs(int ticks) {
    return ticks - 0.5;
}

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double median(std::vector<double> v) {
    if (v.empty()) {
        return 0;
    }
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double percentile(std::vector<double> v, double p) {
    if (v.empty()) {
        return 0;
    }
    std::sort(v.begin(), v.end());
    const auto at = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(at, v.size() - 1)];
}

long statusKb(pid_t pid, const char* field) {
    std::ifstream status("/proc/" + (pid ? std::to_string(pid) : "self") + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field, 0) == 0) {
            return std::atol(line.c_str() + std::strlen(field) + 1);
        }
    }
    return 0;
}

// Times what the window's view does outside the exchanges: layout, polish and repaints. The
// outermost such event counts; paints sent from inside an update request are part of it.
class BenchApp : public QApplication {
  public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (trace) {
            return traced(receiver, event);
        }
        const bool view = type == QEvent::UpdateRequest || type == QEvent::Paint ||
                          type == QEvent::LayoutRequest || type == QEvent::Polish ||
                          type == QEvent::PolishRequest;
        if (!view || m_depth > 0) {
            return QApplication::notify(receiver, event);
        }
        ++m_depth;
        const double start = threadCpuMs();
        const std::int64_t wallStart = nowNs();
        const bool handled = QApplication::notify(receiver, event);
        viewCpuMs += threadCpuMs() - start;
        const double wallMs = static_cast<double>(nowNs() - wallStart) / 1e6;
        longestViewMs = std::max(longestViewMs, wallMs);
        if (type == QEvent::UpdateRequest && receiver == window) {
            ++redraws;
        }
        --m_depth;
        return handled;
    }
    QObject* window = nullptr;
    bool trace = false;  // name every event that takes over 2 ms, and every paint over 0.5 ms
    double viewCpuMs = 0;
    double longestViewMs = 0;
    long redraws = 0;

  private:
    bool traced(QObject* receiver, QEvent* event) {
        const std::int64_t start = nowNs();
        ++m_depth;
        const bool handled = QApplication::notify(receiver, event);
        --m_depth;
        const double ms = static_cast<double>(nowNs() - start) / 1e6;
        if ((ms > 2 && m_depth == 0) || (ms > 0.5 && event->type() == QEvent::Paint)) {
            std::fprintf(stderr, "event %d to %s %s: %.2f ms\n", static_cast<int>(event->type()),
                         receiver->metaObject()->className(),
                         receiver->objectName().toUtf8().constData(), ms);
        }
        return handled;
    }

    int m_depth = 0;
};

// One row of the table.
struct Row {
    std::string exchange;
    std::vector<double> measuredMs;
    std::vector<double> cpuMs;  // the window thread's CPU time over the same span
    double wireMs = 0, controllerMs = 0, pausesMs = 0;
    std::string notes;
    bool hasFloor = true;
    std::string goal;
    double floorMs() const { return wireMs + controllerMs + pausesMs; }
};

// The part of a trace one exchange took, first event to last, both included.
struct Window {
    std::size_t first = 0, last = 0;
};

class ExchangeBench {
  public:
    ExchangeBench(BenchApp& app, const std::string& device)
        : m_app(app),
          m_port(test::comTo(device)),
          m_core(m_port, m_clock, m_prompts, m_files),
          m_dialog(m_core) {
        m_port.link = &m_core.link();
        m_app.window = &m_dialog;
    }

    // Runs the event loop as the application's own does, blocking until something happens, and
    // looks at `done` after each turn; a slow timer wakes it for the deadline.
    bool runUntil(const std::function<bool()>& done, int ms) {
        QElapsedTimer timer;
        timer.start();
        QTimer tick;
        tick.start(50);
        while (!done()) {
            if (timer.elapsed() > ms) {
                return false;
            }
            m_app.processEvents(QEventLoop::WaitForMoreEvents);
        }
        return true;
    }
    // Lets the window settle after an exchange: pending repaints done, the line quiet.
    void settle(int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }
    // Waits until something has been written and the line has then been quiet for 200 ms.
    bool runUntilQuiet(std::size_t from, int ms) {
        return runUntil(
            [&] { return events().size() > from && nowNs() - events().back().ns > 200'000'000; },
            ms);
    }

    std::size_t findWrite(std::size_t from, std::string_view bytes) const {
        for (std::size_t i = from; i < events().size(); ++i) {
            if (events()[i].out && events()[i].bytes == bytes) {
                return i;
            }
        }
        return npos;
    }
    // The read that completes the reply to the last write of `bytes` after `from`.
    std::size_t replyTo(std::size_t from, std::string_view bytes, std::size_t length) const {
        std::size_t at = npos;
        for (std::size_t i = from; i < events().size(); ++i) {
            if (events()[i].out && events()[i].bytes == bytes) {
                at = i;
            }
        }
        std::size_t got = 0;
        for (std::size_t i = at == npos ? events().size() : at + 1; i < events().size(); ++i) {
            if (events()[i].out) {
                return npos;
            }
            got += events()[i].bytes.size();
            if (got >= length) {
                return i;
            }
        }
        return npos;
    }

    // Main read-back: Refresh, "?V" written to the reply of "?j" read.
    void mainReadback(Row& row, int runs, bool first) {
        std::vector<double> turnarounds;
        double slowestExcess = 0;
        std::string slowest;
        for (int run = 0; run < runs; ++run) {
            const std::size_t from = events().size();
            if (first && run == 0) {
                // As the application starts: the version query leaves after the first paint.
                m_dialog.show();
                m_port.holdOutput();
                m_core.initialise();
                m_firstPaint = std::make_unique<AfterFirstPaint>(
                    m_dialog, std::chrono::milliseconds{300}, [this] { m_port.releaseOutput(); });
            } else {
                m_core.onUserAction({ActionKind::Click, ids::main::kRefresh});
            }
            if (!runUntil([&] { return replyTo(from, "?j\r", 10) != npos; }, 30000)) {
                row.notes = "read-back did not finish";
                return;
            }
            const Window w{findWrite(from, "?V\r"), replyTo(from, "?j\r", 10)};
            record(row, w, 0, run == 0);
            exchangeGaps(w, turnarounds, slowestExcess, slowest);
            settle(100);
            if (first) {
                break;
            }
        }
        char text[200];
        std::snprintf(text, sizeof text,
                      "turnaround p50 %.3f / p99 %.3f ms; slowest exchange %s +%.2f ms over its "
                      "wire and controller time",
                      percentile(turnarounds, 0.5), percentile(turnarounds, 0.99), slowest.c_str(),
                      slowestExcess);
        row.notes = text;
    }

    // Frame read-back: opening the custom frame dialog restarts the link ("?V") and asks "?k",
    // so the main and the frame chain run interleaved, two queries outstanding. The controller
    // is then the bottleneck: the floor is its time and its answers' wire time, plus the first
    // query's. From the "?V" written to the last reply read. The first opening is not counted.
    void frameReadback(Row& row, int runs) {
        int stalls = 0, openings = 0;
        for (int run = -1; run < runs && openings < 3 * runs; ++openings) {
            const std::size_t from = events().size();
            m_core.model().setEnabled(ids::main::kEditFrame, true);
            m_core.onUserAction({ActionKind::Click, ids::main::kEditFrame});
            runUntilQuiet(from, 30000);
            const bool done = lastReplyTo(from, "?z\r") && lastReplyTo(from, "?j\r");
            std::size_t last = events().size() - 1;
            while (events()[last].out) {
                --last;
            }
            const std::size_t first = findWrite(from, "?V\r");
            m_core.onUserAction({ActionKind::Click, ids::frame::kCancel});
            if (!done) {
                // Two replies came in one read and mode 0 frames only exactly ten bytes: both
                // chains wait for good. Refresh starts the main one again.
                ++stalls;
                const std::size_t again = events().size();
                m_core.onUserAction({ActionKind::Click, ids::main::kRefresh});
                runUntil([&] { return replyTo(again, "?j\r", 10) != npos; }, 30000);
                settle(100);
                continue;
            }
            settle(100);
            if (run++ < 0) {
                continue;
            }
            const auto& e = events();
            row.measuredMs.push_back(static_cast<double>(e[last].ns - e[first].ns) / 1e6);
            row.cpuMs.push_back(static_cast<double>(e[last].cpuNs - e[first].cpuNs) / 1e6);
            std::size_t answerBytes = 0, commands = 0;
            for (std::size_t i = first; i <= last; ++i) {
                answerBytes += e[i].out ? 0 : e[i].bytes.size();
                commands += e[i].out ? 1 : 0;
            }
            row.wireMs = static_cast<double>(answerBytes + e[first].bytes.size()) * kByteUs / 1000;
            row.controllerMs = static_cast<double>(commands) * kCommandUs / 1000;
        }
        row.notes = "main and frame chains interleaved; " + std::to_string(stalls) + " of " +
                    std::to_string(openings) +
                    " openings stalled (two replies in one read while the dialog was painted)";
    }

    // Whether a write of `bytes` after `from` was followed by ten bytes or more of replies.
    bool lastReplyTo(std::size_t from, std::string_view bytes) const {
        const std::size_t at = findWrite(from, bytes);
        std::size_t got = 0;
        for (std::size_t i = at == npos ? events().size() : at + 1; i < events().size(); ++i) {
            got += events()[i].out ? 0 : events()[i].bytes.size();
        }
        return got >= 10;
    }

    // Restore from a saved file: "Sj0004" written to "?V" written, 41 links and the announcing
    // command, each acknowledgement followed by its 50 ms pause.
    void restoreFromFile(Row& row, int runs) {
        m_prompts.files.push_back("bench.txt");
        m_core.onUserAction({ActionKind::Click, ids::main::kSaveData});
        for (int run = 0; run < runs; ++run) {
            const std::size_t from = events().size();
            m_prompts.files.push_back("bench.txt");
            m_core.onUserAction({ActionKind::Select, ids::main::kRestoreChoice, 4});
            if (!runUntil([&] { return replyTo(from, "?j\r", 10) != npos; }, 30000)) {
                row.notes = "restore did not finish";
                return;
            }
            const Window w{findWrite(from, "Sj0004\r"), findWrite(from, "?V\r")};
            int links = 0;
            for (std::size_t i = w.first; i < w.last; ++i) {
                links += events()[i].out ? 1 : 0;
            }
            record(row, w, tickWaitMs(50) * links, run == 0);
            row.notes = std::to_string(links - 1) + " links after Sj0004, 50 ms after each of " +
                        std::to_string(links) +
                        " acknowledgements (tool CPU includes these busy waits)";
            settle(100);
        }
    }

    // A default set: "Sj000N" written to the reply of "?j" read; 10 ms after its acknowledgement.
    void defaultSet(Row& row, int runs) {
        std::vector<double> turnarounds;
        double slowestExcess = 0;
        std::string slowest;
        for (int run = 0; run < runs; ++run) {
            const std::size_t from = events().size();
            m_core.onUserAction({ActionKind::Select, ids::main::kRestoreChoice, run % 2});
            if (!runUntil([&] { return replyTo(from, "?j\r", 10) != npos; }, 30000)) {
                row.notes = "default set did not finish";
                return;
            }
            const std::string command = "Sj000" + std::to_string(run % 2) + "\r";
            const Window w{findWrite(from, command), replyTo(from, "?j\r", 10)};
            record(row, w, tickWaitMs(10), run == 0);
            exchangeGaps(w, turnarounds, slowestExcess, slowest);
            settle(100);
        }
        char text[200];
        std::snprintf(text, sizeof text,
                      "sets 0 and 1 in turn, so every run changes values; turnaround p50 %.3f / "
                      "p99 %.3f ms; slowest exchange %s +%.2f ms",
                      percentile(turnarounds, 0.5), percentile(turnarounds, 0.99), slowest.c_str(),
                      slowestExcess);
        row.notes = text;
    }

    // A 64 KiB image: "?W" written to the loader's answer to the confirm packet read.
    void upgrade(Row& row, int runs) {
        std::string image(65536, '\0');
        for (std::size_t i = 0; i < image.size(); ++i) {
            image[i] = static_cast<char>((i * 73 + 5) % 251);
        }
        m_files.content["kivrel.bin"] = image;
        std::vector<double> turnarounds;
        double slowestExcess = 0;
        std::string slowest;
        for (int run = 0; run < runs; ++run) {
            const std::size_t from = events().size();
            m_prompts.files.push_back("kivrel.bin");
            m_core.onUserAction({ActionKind::Click, ids::main::kChooseFirmware});
            const std::size_t shown = m_prompts.shown.size();
            m_core.onUserAction({ActionKind::Click, ids::main::kUpgrade});
            if (!runUntil([&] { return m_prompts.shown.size() > shown; }, 120000)) {
                row.notes = "upgrade did not finish";
                return;
            }
            const std::size_t start = findWrite(from, "?W\r");
            std::size_t last = start;
            for (std::size_t i = start; i < events().size() && events()[i].bytes != "?V\r"; ++i) {
                last = events()[i].out ? last : i;
            }
            std::size_t packets = 0;
            for (std::size_t i = start; i <= last; ++i) {
                packets += events()[i].out && events()[i].bytes.size() == kPacketBytes;
            }
            record(row, {start, last}, 0, run == 0);
            exchangeGaps({start, last}, turnarounds, slowestExcess, slowest);
            char text[160];
            std::snprintf(text, sizeof text,
                          "%zu packets of 64 bytes each way; turnaround p50 %.3f / p99 %.3f ms",
                          packets, percentile(turnarounds, 0.5), percentile(turnarounds, 0.99));
            row.notes = text;
            runUntil([&] { return replyTo(from, "?j\r", 10) != npos; }, 30000);
            settle(100);
        }
    }

    // The live stream on the custom function page for `seconds`.
    void liveStream(Row& row, double seconds) {
        row.hasFloor = false;
        m_core.onUserAction({ActionKind::Tab, ids::main::kTabs, 1});
        settle(200);
        m_core.onUserAction({ActionKind::Click, ids::custom::kDataDisplay});
        settle(200);
        const std::size_t from = events().size();
        m_port.settleLastRead();
        const long decodedBefore = m_port.emptiedAfterRead, redrawsBefore = m_app.redraws;
        const double cpuBefore = threadCpuMs(), viewBefore = m_app.viewCpuMs;
        settle(static_cast<int>(seconds * 1000));
        m_port.settleLastRead();
        const double cpu = threadCpuMs() - cpuBefore, view = m_app.viewCpuMs - viewBefore;
        long frames = 0;
        for (std::size_t i = from; i < events().size(); ++i) {
            const std::string& b = events()[i].bytes;
            for (const char* tag : {"CHDA", "MSDA", "SSDA"}) {
                for (std::size_t at = b.find(tag); !events()[i].out && at != b.npos;
                     at = b.find(tag, at + 4)) {
                    ++frames;
                }
            }
        }
        const long decoded = m_port.emptiedAfterRead - decodedBefore;
        const long redraws = m_app.redraws - redrawsBefore;
        m_core.onUserAction({ActionKind::Click, ids::custom::kDataDisplay});
        settle(200);
        const double perFrame = frames ? 1000 * cpu / static_cast<double>(frames) : 0;
        row.measuredMs.push_back(frames ? cpu / static_cast<double>(frames) : 0);
        char text[300];
        std::snprintf(
            text, sizeof text,
            "%ld frames in %.0f s, %ld decoded, %ld dropped; CPU per frame: tool %.0f us, "
            "of it view %.0f us; %.2f redraws per frame; VmHWM %ld MB, VmRSS %ld MB",
            frames, seconds, decoded, frames - decoded, perFrame,
            frames ? 1000 * view / static_cast<double>(frames) : 0,
            frames ? static_cast<double>(redraws) / static_cast<double>(frames) : 0,
            statusKb(0, "VmHWM:") / 1024, statusKb(0, "VmRSS:") / 1024);
        row.notes = text;
    }

  private:
    static constexpr std::size_t npos = std::string::npos;
    const std::vector<TimedPort::Event>& events() const { return m_port.events; }

    // Measured time and floor of one run; the floor's parts from the first run's bytes.
    void record(Row& row, Window w, double pausesMs, bool parts) {
        const auto& e = events();
        row.measuredMs.push_back(static_cast<double>(e[w.last].ns - e[w.first].ns) / 1e6);
        row.cpuMs.push_back(static_cast<double>(e[w.last].cpuNs - e[w.first].cpuNs) / 1e6);
        if (!parts) {
            return;
        }
        std::size_t bytes = 0, commands = 0;
        // A window that ends with a write ends when it is written: its bytes are not in it.
        const std::size_t end = e[w.last].out ? w.last : w.last + 1;
        for (std::size_t i = w.first; i < end; ++i) {
            bytes += e[i].bytes.size();
            commands += e[i].out && e[i].bytes.size() != kPacketBytes;
        }
        row.wireMs = static_cast<double>(bytes) * kByteUs / 1000;
        row.controllerMs = static_cast<double>(commands) * kCommandUs / 1000;
        row.pausesMs = pausesMs;
    }

    // Turnaround (reply read to next query written) and each exchange's excess over its own
    // wire and controller time.
    void exchangeGaps(Window w, std::vector<double>& turnarounds, double& slowestExcess,
                      std::string& slowest) {
        const auto& e = events();
        for (std::size_t i = w.first; i < w.last; ++i) {
            // A default-set acknowledgement is followed by its prescribed 10 ms, not a turnaround.
            if (!e[i].out && e[i + 1].out && !e[i].bytes.starts_with("Sj0")) {
                turnarounds.push_back(static_cast<double>(e[i + 1].ns - e[i].ns) / 1e6);
            }
            if (e[i].out && !e[i + 1].out) {
                const double floor =
                    (static_cast<double>(e[i].bytes.size() + e[i + 1].bytes.size()) * kByteUs +
                     kCommandUs) /
                    1000;
                const double excess = static_cast<double>(e[i + 1].ns - e[i].ns) / 1e6 - floor;
                if (excess > slowestExcess) {
                    slowestExcess = excess;
                    slowest = std::string(e[i].bytes.substr(0, 2));
                }
            }
        }
    }

    BenchApp& m_app;
    TimedPort m_port;
    SteadyClock m_clock;
    test::ScriptedPrompts m_prompts;
    test::MemoryFiles m_files;
    OrvaCore m_core;
    COrvaDlg m_dialog;
    std::unique_ptr<AfterFirstPaint> m_firstPaint;
};

// Start-up of the real binary: process start to the first byte on the line, in a fresh folder
// (so COM3, whose device is a bare pseudo-terminal here).
void startup(Row& row, int runs, const std::string& orva) {
    row.hasFloor = false;
    std::vector<double> hwm;
    for (int run = 0; run < runs; ++run) {
        sim::PtyTransport line;
        std::string error;
        if (!line.open(error)) {
            row.notes = error;
            return;
        }
        const std::filesystem::path dir =
            std::filesystem::temp_directory_path() / ("orva-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        setenv("ORVA_COM3", line.slavePath().c_str(), 1);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        char* argv[] = {const_cast<char*>(orva.c_str()), nullptr};
        pid_t pid = 0;
        const std::int64_t started = nowNs();
        if (posix_spawn(&pid, orva.c_str(), &actions, nullptr, argv, environ) != 0) {
            row.notes = "cannot start " + orva;
            return;
        }
        posix_spawn_file_actions_destroy(&actions);
        std::int64_t heard = 0;
        while (heard == 0 && nowNs() - started < 10'000'000'000LL) {
            pollfd p{line.fd(), POLLIN, 0};
            if (::poll(&p, 1, 1) > 0 && (p.revents & POLLIN) && !line.read().empty()) {
                heard = nowNs();
            } else if (p.revents & POLLHUP) {
                ::usleep(100);  // nobody holds the line yet
            }
        }
        ::usleep(300'000);  // the window up and idle, waiting for the version reply
        hwm.push_back(static_cast<double>(statusKb(pid, "VmHWM:")) / 1024);
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        std::filesystem::remove_all(dir);
        if (heard == 0) {
            row.notes = "no query within 10 s";
            return;
        }
        row.measuredMs.push_back(static_cast<double>(heard - started) / 1e6);
    }
    char text[120];
    std::snprintf(text, sizeof text, "real `orva` process; VmHWM %.0f MB with the window up",
                  median(hwm));
    row.notes = text;
}

std::string table(const std::vector<Row>& rows) {
    std::ostringstream out;
    out << "| Exchange | Measured (median) | Floor | wire | controller | pauses | Ratio | Tool CPU "
           "| "
           "Goal | Notes |\n|---|---:|---:|---:|---:|---:|---:|---:|---|---|\n";
    char cell[400];
    for (const Row& r : rows) {
        const double m = median(r.measuredMs);
        if (r.hasFloor) {
            std::snprintf(
                cell, sizeof cell,
                "| %s | %.1f ms | %.1f ms | %.1f ms | %.1f ms | %.1f ms | %.3fx | %.1f ms "
                "| %s | %s (%zu runs) |\n",
                r.exchange.c_str(), m, r.floorMs(), r.wireMs, r.controllerMs, r.pausesMs,
                r.floorMs() > 0 ? m / r.floorMs() : 0, median(r.cpuMs), r.goal.c_str(),
                r.notes.c_str(), r.measuredMs.size());
        } else {
            std::snprintf(cell, sizeof cell, "| %s | %.*f ms | - | - | - | - | - | - | %s | %s |\n",
                          r.exchange.c_str(), m < 1 ? 3 : 1, m, r.goal.c_str(), r.notes.c_str());
        }
        out << cell;
    }
    return out.str();
}

}  // namespace
}  // namespace orva::bench

int main(int argc, char** argv) {
    using namespace orva::bench;
    int runs = 5, upgradeRuns = 3;
    bool trace = false;
    double streamSeconds = 10;
    std::string markdown;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--runs") {
            runs = std::max(1, std::atoi(argv[i + 1]));
        } else if (name == "--upgrade-runs") {
            upgradeRuns = std::max(1, std::atoi(argv[i + 1]));
        } else if (name == "--stream-seconds") {
            streamSeconds = std::max(1.0, std::atof(argv[i + 1]));
        } else if (name == "--trace") {
            trace = std::atoi(argv[i + 1]) != 0;
        } else if (name == "--markdown") {
            markdown = argv[i + 1];
        }
    }
    const std::string orva =
        std::filesystem::absolute(std::filesystem::path(argv[0]).parent_path() / "orva").string();

    std::vector<Row> rows(7);
    rows[0] = {.exchange = "Start-up to first query on the wire", .goal = "< 150 ms"};
    std::fprintf(stderr, "start-up...\n");
    startup(rows[0], runs, orva);

    orva::sim::SimOptions options;
    options.wireTiming = orva::sim::WireTiming::PerAnswer;
    orva::sim::SimRunner controller(options);
    const std::string device = controller.start();

    int appArgc = 1;
    BenchApp app(appArgc, argv);
    app.trace = trace;
    orva::installCjkFontFallback();
    ExchangeBench bench(app, device);

    rows[1] = {.exchange = "Main read-back, first after start", .goal = "<= 1.1x"};
    rows[2] = {.exchange = "Main read-back (Refresh)", .goal = "<= 1.1x, p99 turnaround < 1 ms"};
    rows[3] = {.exchange = "Frame read-back", .goal = "-"};
    rows[4] = {.exchange = "Restore from a file", .goal = "<= 1.05x"};
    rows[5] = {.exchange = "Default set loaded and read back", .goal = "-"};
    rows[6] = {.exchange = "Upgrade, 64 KiB image", .goal = "<= 1.02x"};
    Row stream{.exchange = "Live stream: tool CPU per frame",
               .goal = "view redrawn <= 1x per frame"};
    std::fprintf(stderr, "read-backs...\n");
    bench.mainReadback(rows[1], 1, true);
    bench.mainReadback(rows[2], runs, false);
    std::fprintf(stderr, "frame read-back...\n");
    bench.frameReadback(rows[3], runs);
    std::fprintf(stderr, "restore...\n");
    bench.restoreFromFile(rows[4], runs);
    std::fprintf(stderr, "default set...\n");
    bench.defaultSet(rows[5], runs);
    std::fprintf(stderr, "upgrade...\n");
    bench.upgrade(rows[6], upgradeRuns);
    std::fprintf(stderr, "live stream for %.0f s...\n", streamSeconds);
    bench.liveStream(stream, streamSeconds);
    rows.push_back(stream);

    const std::string text = table(rows);
    std::fputs(text.c_str(), stdout);
    if (!markdown.empty()) {
        std::ofstream(markdown) << text;
    }
    return 0;
}
