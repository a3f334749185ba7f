#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace orva::sim::test {

// The tool's end of the simulator's pseudo-terminal: the slave device opened raw, as a serial
// port would be. Reads wait at most a generous deadline so that a silent line fails the test
// instead of hanging it.
class SlaveLine {
  public:
    explicit SlaveLine(const std::string& path);
    ~SlaveLine();
    SlaveLine(const SlaveLine&) = delete;
    SlaveLine& operator=(const SlaveLine&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    void send(std::string_view bytes);
    // Exactly `count` bytes, or fewer when the deadline passes first.
    std::string receive(std::size_t count,
                        std::chrono::milliseconds deadline = std::chrono::seconds(5));
    // Everything up to and including the first `suffix`, or what came before the deadline.
    std::string receiveUntil(std::string_view suffix,
                             std::chrono::milliseconds deadline = std::chrono::seconds(5));
    // Everything that arrives until the line has been quiet for `quiet`.
    std::string drain(std::chrono::milliseconds quiet = std::chrono::milliseconds(300));
    // Sends and waits for an answer of `count` bytes.
    std::string exchange(std::string_view bytes, std::size_t count);
    // True when the far end closed the line.
    bool hungUp();

  private:
    int m_fd = -1;
};

}  // namespace orva::sim::test
