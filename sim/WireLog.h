#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

namespace orva::sim {

// A text log of the line, one frame a line:
//   <seconds since start, 6 decimals> <direction> <bytes>
// direction: "RX" a frame received, "RX-IGNORED" bytes that held no command, "TX" one write
// to the line, "CLOSE" the line was closed. Printable ASCII stands as it is; backslash, CR, LF
// and every other byte are escaped as \\, \r, \n and \xHH. Each line is flushed at once.
class WireLog {
  public:
    using Clock = std::chrono::steady_clock;

    WireLog() = default;
    ~WireLog();
    WireLog(const WireLog&) = delete;
    WireLog& operator=(const WireLog&) = delete;

    // Opens (truncates) the log; an empty path logs nothing. False when it cannot be opened.
    bool open(const std::string& path, Clock::time_point start);
    bool enabled() const { return m_file != nullptr; }

    void write(std::string_view direction, std::string_view bytes);

    static std::string escape(std::string_view bytes);

  private:
    std::FILE* m_file = nullptr;
    Clock::time_point m_start;
};

}  // namespace orva::sim
