#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

#include "qtserial/QtCommPort.h"

namespace orva::test {

// COMn, and no other number, stands for `device`.
inline PortResolver comTo(const std::string& device, int com = 3) {
    const std::string name = "ORVA_COM" + std::to_string(com);
    return PortResolver(
        [device, name](const char* asked) -> const char* {
            return name == asked ? device.c_str() : nullptr;
        },
        [] { return std::vector<std::string>{}; });
}

// The real Qt port, recording each write and counting what the core reads since the last.
class RecordingPort : public QtCommPort {
  public:
    using QtCommPort::QtCommPort;
    void SetOutput(std::string_view bytes) override {
        sent.emplace_back(bytes);
        readSinceWrite = 0;
        QtCommPort::SetOutput(bytes);
    }
    std::vector<std::uint8_t> GetInput() override {
        auto bytes = QtCommPort::GetInput();
        readSinceWrite += bytes.size();
        return bytes;
    }
    // The read-back's last query, "?j", went out last and its ten-byte reply has been handled.
    bool readBackDone() const {
        return !sent.empty() && sent.back() == "?j\r" && readSinceWrite >= 10;
    }

    std::vector<std::string> sent;
    std::size_t readSinceWrite = 0;
};

// The Qt event loop a system test runs the real port on.
struct EventLoop {
    int argc = 1;
    char name[5] = "test";
    char* argv[1] = {name};
    QCoreApplication app{argc, argv};
};

// Runs the event loop until `done` holds or `ms` have passed; false on time-out.
// The loop sleeps between events; a tick wakes it now and then to look at `done` and the time.
inline bool runUntil(QCoreApplication& app, const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    QTimer tick;
    tick.start(20);
    while (!done()) {
        if (timer.elapsed() > ms) {
            return false;
        }
        app.processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

}  // namespace orva::test
