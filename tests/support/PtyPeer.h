#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace orva::test {

// The controller's end of a raw pseudo-terminal pair; the tool opens slave() as its COM port.
// Reads wait at most a deadline so that a silent line fails a test instead of hanging it.
class PtyPeer {
  public:
    PtyPeer();
    // The other way round: the tool's end, opening an existing device raw.
    explicit PtyPeer(const std::string& device);
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    const std::string& slave() const { return m_slave; }
    void write(std::string_view bytes);
    // Exactly `count` bytes, or fewer when the deadline passes first.
    std::string read(std::size_t count,
                     std::chrono::milliseconds deadline = std::chrono::seconds(10));
    // Everything up to and including the first `suffix`, or what came before the deadline.
    std::string readUntil(std::string_view suffix,
                          std::chrono::milliseconds deadline = std::chrono::seconds(10));
    // Writes, then reads an answer of `count` bytes.
    std::string exchange(std::string_view bytes, std::size_t count);
    // Everything that arrives until the line has been quiet for `quiet`.
    std::string drain(std::chrono::milliseconds quiet);
    // The far end closed the line.
    bool hungUp() const;

  private:
    int m_fd = -1;
    // A hang-up ends a read on the tool's end; the controller's end waits for a tool that may
    // not have opened the line yet.
    bool m_toolEnd = false;
    std::string m_slave;
};

}  // namespace orva::test
