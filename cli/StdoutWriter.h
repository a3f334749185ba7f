#pragma once

#include <string>
#include <string_view>

namespace orva::cli {

// Standard output as a script relies on it: every write checked, so that a full disk, a closed
// pipe or a closed descriptor ends the command with the system's reason instead of a short
// file and exit status 0.
class StdoutWriter {
  public:
    explicit StdoutWriter(int fd = 1) : m_fd(fd) {}

    // False once any write has failed; nothing more is written then.
    bool write(std::string_view bytes);
    bool failed() const { return !m_error.empty(); }
    // The system's reason for the first failure, e.g. "No space left on device".
    const std::string& error() const { return m_error; }

  private:
    int m_fd;
    std::string m_error;
};

}  // namespace orva::cli
