#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace orva::sim {

// The controller's end of a pseudo-terminal in raw mode. The tool (or a test) opens the slave
// device as its serial port; the simulator reads and writes the master side without blocking.
class PtyTransport {
  public:
    PtyTransport() = default;
    ~PtyTransport();
    PtyTransport(const PtyTransport&) = delete;
    PtyTransport& operator=(const PtyTransport&) = delete;

    // Opens a new pseudo-terminal; on failure returns false with the reason in `error`.
    bool open(std::string& error);
    void close();
    // Closes once the far end has read what was written, or once `patience` has passed: the
    // bytes already on the wire arrive before the line goes dead.
    void closeAfterDrain(std::chrono::milliseconds patience);
    bool isOpen() const { return m_master >= 0; }
    int fd() const { return m_master; }
    const std::string& slavePath() const { return m_slavePath; }

    // Everything waiting on the line; empty when nothing is waiting or nobody holds the slave.
    std::string read();
    // Writes all of `bytes`, waiting at most `patience` while the line takes no more (nobody
    // reads it); what it still will not take is lost, as on a real line. False when bytes were
    // lost.
    bool write(std::string_view bytes, std::chrono::milliseconds patience);
    // Drops what the last program left unread on the slave side, so the next one starts from an
    // empty line as it would on a freshly opened serial port.
    void discardStale();

  private:
    int m_master = -1;
    std::string m_slavePath;
};

}  // namespace orva::sim
