#include "sim/WireLog.h"

namespace orva::sim {

WireLog::~WireLog() {
    if (m_file) {
        std::fclose(m_file);
    }
}

bool WireLog::open(const std::string& path, Clock::time_point start) {
    m_start = start;
    if (path.empty()) {
        return true;
    }
    m_file = std::fopen(path.c_str(), "w");
    return m_file != nullptr;
}

std::string WireLog::escape(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (b >= 0x20 && b < 0x7F) {
            out.push_back(c);
        } else {
            out += "\\x";
            out.push_back(kHex[b >> 4]);
            out.push_back(kHex[b & 0xF]);
        }
    }
    return out;
}

void WireLog::write(std::string_view direction, std::string_view bytes) {
    if (!m_file) {
        return;
    }
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - m_start).count();
    std::fprintf(m_file, "%lld.%06lld %.*s %s\n", static_cast<long long>(elapsed / 1000000),
                 static_cast<long long>(elapsed % 1000000), static_cast<int>(direction.size()),
                 direction.data(), escape(bytes).c_str());
    std::fflush(m_file);
}

}  // namespace orva::sim
