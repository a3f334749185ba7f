#pragma once

#include <QApplication>

namespace orva {

// The application object: owns the platform services and runs the main window until it closes.
class COrvaApp : public QApplication {
    Q_OBJECT
  public:
    COrvaApp(int& argc, char** argv);
    // Shows the main window until it closes; `demo` puts a simulated controller behind it.
    int run(bool demo);
};

}  // namespace orva
