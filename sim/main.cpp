#include <algorithm>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <exception>
#include <string>
#include <vector>

#include "sim/SimCommandLine.h"
#include "sim/SimRunner.h"

int main(int argc, char** argv) {
    using orva::sim::SimCommandLine;
    const std::string program = argc > 0 ? argv[0] : "kivrel-sim";
    const SimCommandLine::Result parsed =
        SimCommandLine::parse(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
    if (parsed.help) {
        std::fputs(SimCommandLine::usage(program).c_str(), stdout);
        return 0;
    }
    if (parsed.version) {
        std::printf("kivrel-sim %s\n", ORVA_VERSION);
        return 0;
    }
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "%s: %s\n%s", program.c_str(), parsed.error.c_str(),
                     SimCommandLine::usage(program).c_str());
        return 2;
    }

    // The signals are taken by sigtimedwait below; blocked before the serving thread starts so
    // that it inherits the mask and never receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    orva::sim::SimRunner runner(parsed.options);
    try {
        const std::string slave = runner.start();
        std::printf("%s\n", slave.c_str());
        std::fflush(stdout);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", program.c_str(), e.what());
        return 1;
    }
    const timespec check{0, 200'000'000};
    while (runner.running()) {
        if (sigtimedwait(&stopSignals, nullptr, &check) > 0) {
            break;
        }
    }
    runner.stop();
    return 0;
}
