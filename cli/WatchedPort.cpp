#include "cli/WatchedPort.h"

#include <algorithm>

namespace orva::cli {

WatchedPort::WatchedPort(CMSComm& port) : m_port(port) {
    m_port.SetOnComm([this] { RaiseOnComm(); });
}

void WatchedPort::SetOutput(std::string_view bytes) {
    m_port.SetOutput(bytes);
    m_lastWrite.assign(bytes);
    if (!bytes.empty()) {
        ++m_counts[static_cast<unsigned char>(bytes[0])];
    }
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
