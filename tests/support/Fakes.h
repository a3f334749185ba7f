#pragma once

#include <algorithm>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/IClock.h"
#include "platform/IFiles.h"
#include "platform/IPrompts.h"
#include "serial/CMSComm.h"

namespace orva::test {

// A tick counter that moves one ms each time it is read.
class FakeClock : public IClock {
  public:
    std::uint64_t tickMs() override { return now++; }
    std::uint64_t now = 1000;
};

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
    bool SetPortOpen(bool open) override {
        ++(open ? opens : closes);
        if (open && failOpen) {
            return false;
        }
        isOpen = open || (stuckOpen && isOpen);
        return true;
    }
    bool GetPortOpen() const override { return isOpen; }
    void SetInBufferSize(int bytes) override { inBufferSize = bytes; }
    void SetOutBufferSize(int bytes) override { outBufferSize = bytes; }
    void SetSettings(const std::string& s) override { settings = s; }
    void SetInputMode(InputMode mode) override { inputMode = mode; }
    void SetRThreshold(int bytes) override { threshold = bytes; }
    void SetInputLen(int bytes) override { inputLen = bytes; }
    void SetHandshaking(Handshaking h) override { handshaking = h; }
    std::vector<std::uint8_t> GetInput() override {
        ++discards;
        std::vector<std::uint8_t> out(pending.begin(), pending.end());
        pending.clear();
        return out;
    }
    void SetOutput(std::string_view bytes) override {
        written += bytes;
        writes.push_back({std::string(bytes), m_clock ? m_clock->now : 0, discards});
    }
    int GetCommEvent() const override { return event; }
    std::string DeviceName() const override {
        return device.value_or("/dev/fake" + std::to_string(commPort));
    }
    std::string LastError() const override { return failOpen ? openError : ""; }
    OpenFailure LastOpenFailure() const override { return failOpen ? failure : OpenFailure::None; }

    // Queues bytes as waiting input without raising the receive event.
    void queue(std::string_view bytes) { pending.append(bytes); }
    // Queues bytes and raises the receive event, as a read from the line does.
    void receive(std::string_view bytes) {
        queue(bytes);
        RaiseOnComm();
    }
    // Everything written since the last call.
    std::string takeWritten() {
        writes.clear();
        return std::exchange(written, {});
    }
    // Every write since the last call, one apart from the next.
    std::vector<Write> takeWrites() {
        written.clear();
        return std::exchange(writes, {});
    }

    int commPort = 0, opens = 0, closes = 0, inBufferSize = 0, outBufferSize = 0;
    // failOpen: opening fails; stuckOpen: closing has no effect.
    bool isOpen = false, failOpen = false, stuckOpen = false;
    OpenFailure failure = OpenFailure::Other;
    std::optional<std::string> device;  // what the port number stands for, when set
    std::string openError = "no such device";
    std::string settings;
    InputMode inputMode = InputMode::Text;
    int threshold = 0, inputLen = -1;
    Handshaking handshaking = Handshaking::XonXoff;
    int discards = 0;  // reads of Input
    int event = kCommEventReceive;
    std::string pending;
    std::string written;
    std::vector<Write> writes;

  private:
    const FakeClock* m_clock = nullptr;
};

// Answers message boxes and file choosers from a script and records what was asked.
class ScriptedPrompts : public IPrompts {
  public:
    MessageResult message(const MessageBox& box) override {
        shown.push_back(box);
        const MessageResult yes =
            box.buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::Ok;
        return answers.empty() ? yes : take(answers);
    }
    std::optional<std::string> chooseFile(const FileChoice& choice) override {
        asked.push_back(choice);
        return files.empty() ? std::nullopt : take(files);
    }

    std::deque<MessageResult> answers;  // default when empty: Ok / Yes
    std::deque<std::optional<std::string>> files;
    std::vector<MessageBox> shown;
    std::vector<FileChoice> asked;

  private:
    template <class T>
    static T take(std::deque<T>& queue) {
        T front = queue.front();
        queue.pop_front();
        return front;
    }
};

// Files held in memory; `failing` paths report an error for every operation.
class MemoryFiles : public IFiles {
  public:
    std::optional<std::string> readOrCreate(const std::string& path, std::size_t maxBytes,
                                            std::string& error) override {
        return failed(path, error) ? std::nullopt
                                   : std::optional(content[path].substr(0, maxBytes));
    }
    bool overwriteStart(const std::string& path, std::string_view bytes,
                        std::string& error) override {
        if (failed(path, error)) {
            return false;
        }
        std::string& c = content[path];
        c.resize(std::max(c.size(), bytes.size()));
        c.replace(0, bytes.size(), bytes);
        return true;
    }
    bool writeAll(const std::string& path, std::string_view bytes, std::string& error) override {
        return !failed(path, error) && (content[path] = bytes, true);
    }
    std::optional<std::string> readPrefix(const std::string& path, std::size_t maxBytes,
                                          std::string& error) override {
        error.clear();
        if (failed(path, error) || !content.contains(path)) {
            error = error.empty() ? "\"" + path + "\": No such file or directory" : error;
            return std::nullopt;
        }
        std::optional<std::string> whole = content[path];
        const auto bad = failingAfter.find(path);
        if (whole && bad != failingAfter.end() && bad->second < std::min(maxBytes, whole->size())) {
            whole->resize(bad->second);
            error = "\"" + path + "\": Input/output error";
        }
        if (whole && whole->size() > maxBytes) {
            whole->resize(maxBytes);
        }
        return whole;
    }
    bool makeFolders(const std::string& path, std::string& error) override {
        return !failed(path, error);
    }
    std::vector<std::string> fileNames(const std::string& folder) override {
        std::vector<std::string> names;
        for (const auto& [path, bytes] : content) {
            if (path.starts_with(folder + "/")) {
                names.push_back(path.substr(folder.size() + 1));
            }
        }
        return names;
    }
    bool remove(const std::string& path, std::string& error) override {
        return !failed(path, error) && content.erase(path) == 1;
    }

    std::map<std::string, std::string> content;
    std::map<std::string, std::string> failing;  // path -> error text
    // Paths whose reads fail after this many bytes, as a disk that goes bad mid-file does.
    std::map<std::string, std::size_t> failingAfter;

  private:
    bool failed(const std::string& path, std::string& error) {
        auto f = failing.find(path);
        if (f != failing.end()) {
            error = f->second;
        }
        return f != failing.end();
    }
};

}  // namespace orva::test
