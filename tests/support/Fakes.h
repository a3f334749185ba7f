#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/IClock.h"
#include "platform/IFiles.h"
#include "platform/IPrompts.h"
#include "serial/CMSComm.h"

namespace orva::test {

class FakeClock;

// A serial port that records what is written, each write apart with the fake clock's time, and
// delivers what the test feeds it.
class FakePort : public CMSComm {
  public:
    struct Write {
        std::string bytes;
        std::uint64_t atMs;
        int discardsBefore;  // reads of Input so far
    };

    FakePort() = default;
    explicit FakePort(const FakeClock& clock) : m_clock(&clock) {}

    void SetCommPort(int port) override { commPort = port; }
    int GetCommPort() const override { return commPort; }
    bool SetPortOpen(bool open) override;
    bool GetPortOpen() const override { return isOpen; }
    void SetInBufferSize(int bytes) override { inBufferSize = bytes; }
    void SetOutBufferSize(int bytes) override { outBufferSize = bytes; }
    void SetSettings(const std::string& s) override { settings = s; }
    void SetInputMode(InputMode mode) override { inputMode = mode; }
    void SetRThreshold(int bytes) override { threshold = bytes; }
    void SetInputLen(int bytes) override { inputLen = bytes; }
    void SetHandshaking(Handshaking h) override { handshaking = h; }
    std::vector<std::uint8_t> GetInput() override;
    void SetOutput(std::string_view bytes) override;
    int GetCommEvent() const override { return event; }
    std::string DeviceName() const override { return "/dev/fake" + std::to_string(commPort); }
    std::string LastError() const override { return lastError; }

    // Queues bytes as waiting input without raising the receive event.
    void queue(std::string_view bytes) { pending.append(bytes); }
    // Queues bytes and raises the receive event, as a read from the line does.
    void receive(std::string_view bytes);
    // Everything written since the last call.
    std::string takeWritten();
    // Every write since the last call, one apart from the next.
    std::vector<Write> takeWrites();

    int commPort = 0;
    bool isOpen = false;
    bool failOpen = false;   // opening fails
    bool stuckOpen = false;  // closing has no effect
    int opens = 0;
    int closes = 0;
    int inBufferSize = 0;
    int outBufferSize = 0;
    std::string settings;
    InputMode inputMode = InputMode::Text;
    int threshold = 0;
    int inputLen = -1;
    Handshaking handshaking = Handshaking::XonXoff;
    int event = kCommEventReceive;
    int discards = 0;  // reads of Input
    std::string lastError;
    std::string pending;
    std::string written;
    std::vector<Write> writes;

  private:
    const FakeClock* m_clock = nullptr;
};

// A tick counter that moves only when read, by `step` ms each time, and records the reads.
class FakeClock : public IClock {
  public:
    std::uint64_t tickMs() override {
        ++reads;
        now += step;
        return now - step;
    }
    std::uint64_t now = 1000;
    std::uint64_t step = 1;
    int reads = 0;
};

// Answers message boxes and file choosers from a script and records what was asked.
class ScriptedPrompts : public IPrompts {
  public:
    MessageResult message(const MessageBox& box) override;
    std::optional<std::string> chooseFile(const FileChoice& choice) override;

    std::deque<MessageResult> answers;  // default when empty: Ok / Yes
    std::deque<std::optional<std::string>> files;
    std::vector<MessageBox> shown;
    std::vector<FileChoice> asked;
};

// Files held in memory; `failing` paths report an error for every operation.
class MemoryFiles : public IFiles {
  public:
    std::optional<std::string> readOrCreate(const std::string& path, std::string& error) override;
    bool overwriteStart(const std::string& path, std::string_view bytes,
                        std::string& error) override;
    std::optional<std::string> readAll(const std::string& path, std::string& error) override;
    bool writeAll(const std::string& path, std::string_view bytes, std::string& error) override;
    std::optional<std::string> readPrefix(const std::string& path, std::size_t maxBytes,
                                          std::string& error) override;

    std::map<std::string, std::string> content;
    std::map<std::string, std::string> failing;  // path -> error text
    // Paths whose reads fail after this many bytes, as a disk that goes bad mid-file does.
    std::map<std::string, std::size_t> failingAfter;
};

}  // namespace orva::test
