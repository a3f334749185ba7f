#include "app/COrvaApp.h"

#include <QIcon>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include "app/AfterFirstPaint.h"

#include "app/AfterFirstPaint.h"
#include "core/OrvaCore.h"
#include "platform/DataFolders.h"
#include "platform/PosixFiles.h"
#include "platform/SteadyClock.h"
#include "platform/SystemCalendar.h"
#include "qtserial/QtCommPort.h"
#include "serial/ConfigFile.h"
#include "sim/SimRunner.h"
#include "ui/COrvaDlg.h"
#include "ui/CjkFont.h"
#include "ui/QtPrompts.h"

namespace orva {

COrvaApp::COrvaApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Orva"));
    // The desktop's own copy of the icon when installed, else the one built in; the desktop file
    // name ties the window to its menu entry (start-up notice, Wayland's application id).
    QIcon builtIn;
    builtIn.addFile(QStringLiteral(":/icons/orva-48.png"));
    builtIn.addFile(QStringLiteral(":/icons/orva-128.png"));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("orva"), builtIn));
    setDesktopFileName(QStringLiteral("orva"));
    installCjkFontFallback();
}

namespace {

// How long the first query waits for a window that is not painted (started minimised).
constexpr std::chrono::milliseconds kFirstPaintPatience{300};

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
    SystemCalendar calendar;
    OrvaCore core(port, clock, prompts, files);
    files.setLanguage([&core] { return core.language() == Language::English; });
    core.keepBackupsIn(backupFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")), calendar);
    COrvaDlg dialog(core);
    prompts.setParent(&dialog);
    dialog.show();
    // The window's first paint (styles, fonts, every control: 10 to 40 ms) would otherwise fall
    // on the first exchange of the read-back. The port opens and the window shows its start
    // state as before; only the version query waits until the window is on screen.
    port.holdOutput();
    core.initialise();
    AfterFirstPaint painted(dialog, kFirstPaintPatience, [&port] { port.releaseOutput(); });
    // Looks for a controller that has stopped answering; the exchanges themselves never time out.
    QTimer quiet;
    QObject::connect(&quiet, &QTimer::timeout, [&core] { core.tick(); });
    quiet.start(250);
    // Re-reads which device each COM number stands for, so a controller plugged in or pulled out
    // shows beside its number without a Refresh.
    QTimer devices;
    QObject::connect(&devices, &QTimer::timeout, [&core] { core.followDevices(); });
    devices.start(1000);
    dialog.exec();
    return 0;
}

}  // namespace orva
