#pragma once

#include <QApplication>

namespace orva {

// The application object: owns the platform services and runs the main window until it closes.
class COrvaApp : public QApplication {
    Q_OBJECT
  public:
    COrvaApp(int& argc, char** argv);
    int run();
};

}  // namespace orva
