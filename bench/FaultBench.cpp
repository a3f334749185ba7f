// Every long exchange of the real window (widgets, Qt serial port, core), each in a fresh window
// after its start-up read-back, against the simulated controller on a line with each fault a
// real line has. Prints, per exchange and fault, how many runs completed, how many stalled with
// the notice beside the port list, and how many stalled silently.
// Usage: bench_faults [--runs N] [--upgrade-runs N] [--markdown FILE] [--only FAULT,FAULT...]
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "platform/SteadyClock.h"
#include "sim/SimRunner.h"
#include "support/Fakes.h"
#include "support/LineFaults.h"
#include "support/SimulatorLine.h"
#include "ui/COrvaDlg.h"
#include "ui/CjkFont.h"

namespace orva::bench {
namespace {

using namespace std::chrono_literals;

enum class Outcome { Completed, StalledWithNotice, StalledSilently };

// One fresh window on the line: the core, its widgets shown offscreen, and what it reports.
class Window {
  public:
    Window(QApplication& app, const std::string& device)
        : m_app(app),
          m_port(test::comTo(device)),
          m_core(m_port, m_clock, prompts, files),
          m_dialog(m_core) {
        m_core.onResult(
            [this](const ExchangeResult& r) { readbacks += r.exchange == Exchange::Readback; });
        m_core.monitor().setFrameListener([this](monitor_frames::FrameKind) { ++frames; });
        m_dialog.show();
    }

    void act(ActionKind kind, ControlKey key, int value = 0) {
        m_core.onUserAction({kind, key, value, {}});
    }
    // Runs the event loop, with the application's quiet check, until `done` or `ms` have passed.
    Outcome runUntil(const std::function<bool()>& done, int ms) {
        QElapsedTimer timer;
        timer.start();
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [this] { m_core.tick(); });
        tick.start(100);
        while (!done()) {
            if (timer.elapsed() > ms) {
                const std::string& label = m_core.model().text(ids::main::kPortDevice);
                return label.starts_with("飞控已2秒无应答") || label.starts_with("飞控2秒内只发来")
                           ? Outcome::StalledWithNotice
                           : Outcome::StalledSilently;
            }
            m_app.processEvents(QEventLoop::WaitForMoreEvents);
        }
        return Outcome::Completed;
    }
    std::function<bool()> readBack() {
        const int before = readbacks;
        return [this, before] { return readbacks > before; };
    }
    OrvaCore& core() { return m_core; }

    test::ScriptedPrompts prompts;
    test::MemoryFiles files;
    int readbacks = 0;
    int frames = 0;

  private:
    QApplication& m_app;
    SteadyClock m_clock;
    QtCommPort m_port;
    OrvaCore m_core;
    COrvaDlg m_dialog;
};

struct Exchange {
    const char* name;
    // Starts the exchange in a window whose read-back has ended; returns when it is done.
    std::function<std::function<bool()>(Window&)> start;
    int deadlineMs = 15000;
};

std::string image() {
    std::string bytes(65536, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>((i * 73 + 5) % 251);
    }
    return bytes;
}

const Exchange kExchanges[] = {
    {"Read-back at start", [](Window& w) { return w.readBack(); }},
    {"Refresh",
     [](Window& w) {
         auto done = w.readBack();
         w.act(ActionKind::Click, ids::main::kRefresh);
         return done;
     }},
    {"Multi-axis change",
     [](Window& w) {
         auto done = w.readBack();
         w.act(ActionKind::Select, ids::main::kMultiAxis, 15);
         return done;
     }},
    {"\"Edit...\" opening",
     [](Window& w) {
         auto done = w.readBack();
         w.act(ActionKind::Click, ids::main::kEditFrame);
         return std::function<bool()>(
             [&w, done] { return done() && w.core().frame().frameRead(); });
     }},
    {"Restore from a file",
     [](Window& w) {
         w.prompts.files.push_back("craft.txt");
         w.act(ActionKind::Click, ids::main::kSaveData);
         auto done = w.readBack();
         w.prompts.files.push_back("craft.txt");
         w.act(ActionKind::Select, ids::main::kRestoreChoice, 4);
         return done;
     }},
    {"Default set",
     [](Window& w) {
         auto done = w.readBack();
         w.act(ActionKind::Select, ids::main::kRestoreChoice, 0);
         return done;
     }},
    {"Calibration",
     [](Window& w) {
         const std::size_t boxes = w.prompts.shown.size();
         w.act(ActionKind::Click, ids::voltage::kCalibrate);
         return std::function<bool()>([&w, boxes] { return w.prompts.shown.size() > boxes + 1; });
     }},
    {"Monitor start and stop, then Refresh",
     [](Window& w) {
         w.act(ActionKind::Click, ids::custom::kDataDisplay);
         if (w.runUntil([&w] { return w.frames >= 6; }, 10000) != Outcome::Completed) {
             return std::function<bool()>([] { return false; });
         }
         w.act(ActionKind::Click, ids::custom::kDataDisplay);
         w.runUntil([] { return false; }, 150);
         auto done = w.readBack();
         w.act(ActionKind::Click, ids::main::kRefresh);
         return done;
     }},
    {"Upgrade, 64 KiB image",
     [](Window& w) {
         w.files.content["kivrel.bin"] = image();
         w.prompts.files.push_back("kivrel.bin");
         w.act(ActionKind::Click, ids::main::kChooseFirmware);
         auto done = w.readBack();
         w.act(ActionKind::Click, ids::main::kUpgrade);
         return done;
     },
     90000},
};

}  // namespace
}  // namespace orva::bench

int main(int argc, char** argv) {
    using namespace orva::bench;
    int runs = 20, upgradeRuns = 20;
    std::string markdown, only;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--runs") {
            runs = std::max(1, std::atoi(argv[i + 1]));
        } else if (name == "--upgrade-runs") {
            upgradeRuns = std::max(1, std::atoi(argv[i + 1]));
        } else if (name == "--markdown") {
            markdown = argv[i + 1];
        } else if (name == "--only") {
            only = "," + std::string(argv[i + 1]) + ",";
        }
    }
    QApplication app(argc, argv);
    orva::installCjkFontFallback();

    std::string table = "| Exchange |";
    std::string rule = "|---|";
    // The faults, each by the simulator option that plays it, after a polite line.
    std::vector<orva::test::LineFault> faults;
    faults.push_back({"polite", "polite", {}});
    faults.insert(faults.end(), std::begin(orva::test::kLineFaults),
                  std::end(orva::test::kLineFaults));
    std::erase_if(faults, [&](const orva::test::LineFault& fault) {
        return !only.empty() &&
               only.find("," + std::string(fault.option) + ",") == std::string::npos;
    });
    for (const orva::test::LineFault& fault : faults) {
        table += std::string(" `") + fault.option + "` |";
        rule += "---:|";
    }
    table += "\n" + rule + "\n";
    std::vector<std::string> cells(std::size(kExchanges));
    int silent = 0;
    for (const orva::test::LineFault& fault : faults) {
        orva::sim::SimRunner controller(fault.options);
        const std::string device = controller.start();
        for (std::size_t e = 0; e < std::size(kExchanges); ++e) {
            const Exchange& exchange = kExchanges[e];
            const int n = e + 1 == std::size(kExchanges) ? upgradeRuns : runs;
            int completed = 0, noticed = 0, quiet = 0;
            for (int run = 0; run < n; ++run) {
                Window window(app, device);
                window.core().initialise();
                Outcome outcome = window.runUntil(window.readBack(), 15000);
                if (outcome == Outcome::Completed && e > 0) {
                    outcome = window.runUntil(exchange.start(window), exchange.deadlineMs);
                }
                completed += outcome == Outcome::Completed;
                noticed += outcome == Outcome::StalledWithNotice;
                quiet += outcome == Outcome::StalledSilently;
            }
            silent += quiet;
            std::string cell = std::to_string(completed) + "/" + std::to_string(n);
            if (noticed + quiet > 0) {
                cell += " (" + std::to_string(noticed) + " noticed, " + std::to_string(quiet) +
                        " silent)";
            }
            cells[e] += " " + cell + " |";
            std::fprintf(stderr, "%-18s %-38s %s\n", fault.option, exchange.name, cell.c_str());
        }
    }
    for (std::size_t e = 0; e < std::size(kExchanges); ++e) {
        table += std::string("| ") + kExchanges[e].name + " |" + cells[e] + "\n";
    }
    std::fputs(table.c_str(), stdout);
    if (!markdown.empty()) {
        std::ofstream(markdown) << table;
    }
    return silent == 0 ? 0 : 1;
}
