#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>
#include <string>
#include <vector>

#include "protocol/Frames.h"
#include "protocol/Link.h"
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

// The real Qt port, recording each write and counting what the core reads, so that a test knows
// when the main read-back's last answer has been taken in.
class RecordingPort : public QtCommPort {
  public:
    using QtCommPort::QtCommPort;
    void SetOutput(std::string_view bytes) override {
        sent.emplace_back(bytes);
        lastAsked = bytes == "?j\r";
        bytesAfterLast = 0;
        QtCommPort::SetOutput(bytes);
    }
    std::vector<std::uint8_t> GetInput() override {
        auto bytes = QtCommPort::GetInput();
        received += bytes.size();
        bytesAfterLast += bytes.size();
        return bytes;
    }
    // "?j\r" was the last write, its answer is in and nothing is left half read.
    bool chainDone(const Link& link) const {
        return lastAsked && bytesAfterLast >= frames::kReplyLength && link.replyText().empty();
    }

    std::vector<std::string> sent;
    std::size_t received = 0;
    bool lastAsked = false;
    std::size_t bytesAfterLast = 0;  // read since the last write
};

// Runs the event loop until `done` holds or `ms` have passed; false on time-out.
inline bool runUntil(QCoreApplication& app, const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) {
            return false;
        }
        app.processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

}  // namespace orva::test
