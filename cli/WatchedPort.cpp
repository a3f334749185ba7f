#include "cli/WatchedPort.h"

#include <algorithm>

namespace orva::cli {

WatchedPort::WatchedPort(CMSComm& port, IClock& clock) : m_port(port), m_clock(clock) {
    m_port.SetOnComm([this] { RaiseOnComm(); });
}

std::vector<std::uint8_t> WatchedPort::GetInput() {
    std::vector<std::uint8_t> bytes = m_port.GetInput();
    if (!bytes.empty()) {
        m_lastActivity = m_clock.tickMs();
    }
    return bytes;
}

void WatchedPort::SetOutput(std::string_view bytes) {
    m_port.SetOutput(bytes);
    m_lastWrite.assign(bytes);
    if (!bytes.empty()) {
        ++m_counts[static_cast<unsigned char>(bytes[0])];
    }
    m_lastActivity = m_clock.tickMs();
}

bool WatchedPort::silentFor(std::uint64_t ms) const {
    return m_clock.tickMs() - m_lastActivity >= ms;
}

std::string WatchedPort::lastCommand() const {
    std::string text = m_lastWrite;
    while (!text.empty() && text.back() == '\r') {
        text.pop_back();
    }
    const bool printable = std::all_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F;
    });
    return printable ? text : std::string("upgrade packet");
}

}  // namespace orva::cli
