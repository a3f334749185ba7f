#include "app/COrvaApp.h"

#include "core/OrvaCore.h"
#include "platform/PosixFiles.h"
#include "platform/SteadyClock.h"
#include "qtserial/QtCommPort.h"
#include "ui/COrvaDlg.h"
#include "ui/CjkFont.h"
#include "ui/QtPrompts.h"

namespace orva {

COrvaApp::COrvaApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Orva"));
    installCjkFontFallback();
}

int COrvaApp::run() {
    QtCommPort port;
    SteadyClock clock;
    PosixFiles files;
    QtPrompts prompts;
    OrvaCore core(port, clock, prompts, files);
    COrvaDlg dialog(core);
    prompts.setParent(&dialog);
    dialog.show();
    core.initialise();
    dialog.exec();
    return 0;
}

}  // namespace orva
