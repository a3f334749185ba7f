// Time from opening the port to the last reply of the main read-back, over a real
// pseudo-terminal to the simulated controller pacing its bytes as a 115200 baud line would.
// Usage: bench_connect [runs]
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "platform/SteadyClock.h"
#include "qtserial/QtCommPort.h"
#include "sim/SimRunner.h"
#include "support/Fakes.h"
#include "support/SimulatorLine.h"

namespace {

// Marks the moment the last query of the main chain goes out.
class WatchedPort : public orva::QtCommPort {
  public:
    using QtCommPort::QtCommPort;
    void SetOutput(std::string_view bytes) override {
        if (bytes == "?j\r") {
            lastQuerySent = true;
            bytesAfterLastQuery = 0;
        }
        ++writes;
        QtCommPort::SetOutput(bytes);
    }
    std::vector<std::uint8_t> GetInput() override {
        auto bytes = QtCommPort::GetInput();
        bytesAfterLastQuery += bytes.size();
        return bytes;
    }
    bool lastQuerySent = false;
    std::size_t bytesAfterLastQuery = 0;
    int writes = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    orva::sim::SimOptions options;
    options.wireTiming = orva::sim::WireTiming::PerByte;
    orva::sim::SimRunner controller(options);
    const std::string device = controller.start();

    WatchedPort port(orva::test::comTo(device));
    orva::SteadyClock clock;
    orva::test::ScriptedPrompts prompts;
    orva::test::MemoryFiles files;
    orva::OrvaCore core(port, clock, prompts, files);
    double total = 0;
    for (int run = 0; run < runs; ++run) {
        port.lastQuerySent = false;
        port.writes = 0;
        QElapsedTimer timer;
        timer.start();
        if (run == 0) {
            core.initialise();
        } else {
            core.onUserAction({orva::ActionKind::Click, orva::ids::main::kRefresh});
        }
        // The chain is over once "?j\r" has gone out and its reply has been taken in.
        while (!(port.lastQuerySent && port.bytesAfterLastQuery >= 10 &&
                 core.link().waitingText().empty()) &&
               timer.elapsed() < 20000) {
            app.processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        total += ms;
        std::printf("run %d: %d queries, %.1f ms\n", run + 1, port.writes, ms);
    }
    std::printf("mean: %.1f ms per full read-back\n", total / runs);
    return 0;
}
