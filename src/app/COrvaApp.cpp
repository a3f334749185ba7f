#include "app/COrvaApp.h"

#include <QTimer>
#include <cstdlib>
#include <memory>

#include "core/OrvaCore.h"
#include "platform/PosixFiles.h"
#include "platform/SteadyClock.h"
#include "qtserial/QtCommPort.h"
#include "serial/ConfigFile.h"
#include "sim/SimRunner.h"
#include "ui/COrvaDlg.h"
#include "ui/CjkFont.h"
#include "ui/QtPrompts.h"

namespace orva {

COrvaApp::COrvaApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Orva"));
    installCjkFontFallback();
}

namespace {

// Demo mode: a simulated controller on its own pseudo-terminal stands behind the port that
// start-up opens, so the whole read-back shows without hardware.
std::unique_ptr<sim::SimRunner> startDemoController(IFiles& files) {
    std::string error;
    auto stored = ConfigFile(files).read(error);
    // The port the link restart will open: COM3 unless the file names one of the list's.
    const bool listed =
        stored && stored->recorded && stored->port >= 1 && stored->port <= Link::kPortCount;
    const int port = listed ? stored->port : Link::kDefaultPort;
    auto runner = std::make_unique<sim::SimRunner>();
    const std::string device = runner->start();
    setenv(("ORVA_COM" + std::to_string(port)).c_str(), device.c_str(), 1);
    return runner;
}

}  // namespace

int COrvaApp::run(bool demo) {
    PosixFiles files;
    std::unique_ptr<sim::SimRunner> demoController;
    if (demo) {
        try {
            demoController = startDemoController(files);
        } catch (const std::exception& e) {
            qWarning("No simulated controller: %s", e.what());
        }
    }
    QtCommPort port;
    SteadyClock clock;
    QtPrompts prompts;
    OrvaCore core(port, clock, prompts, files);
    COrvaDlg dialog(core);
    prompts.setParent(&dialog);
    dialog.show();
    core.initialise();
    // Looks for a controller that has stopped answering; the exchanges themselves never time out.
    QTimer quiet;
    QObject::connect(&quiet, &QTimer::timeout, [&core] { core.link().checkQuiet(); });
    quiet.start(250);
    dialog.exec();
    return 0;
}

}  // namespace orva
