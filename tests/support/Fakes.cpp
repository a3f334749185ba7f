#include "support/Fakes.h"

namespace orva::test {

bool FakePort::SetPortOpen(bool open) {
    if (!open) {
        ++closes;
        if (!stuckOpen) {
            isOpen = false;
        }
        return true;
    }
    ++opens;
    if (failOpen) {
        lastError = "no such device";
        return false;
    }
    isOpen = true;
    lastError.clear();
    return true;
}

std::vector<std::uint8_t> FakePort::GetInput() {
    ++discards;
    std::vector<std::uint8_t> out(pending.begin(), pending.end());
    pending.clear();
    return out;
}

void FakePort::receive(std::string_view bytes) {
    queue(bytes);
    RaiseOnComm();
}

void FakePort::SetOutput(std::string_view bytes) {
    written += bytes;
    writes.push_back({std::string(bytes), m_clock ? m_clock->now : 0, discards});
}

std::vector<FakePort::Write> FakePort::takeWrites() {
    written.clear();
    std::vector<Write> out;
    out.swap(writes);
    return out;
}

std::string FakePort::takeWritten() {
    writes.clear();
    std::string out;
    out.swap(written);
    return out;
}

MessageResult ScriptedPrompts::message(const MessageBox& box) {
    shown.push_back(box);
    if (answers.empty()) {
        return box.buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::Ok;
    }
    MessageResult r = answers.front();
    answers.pop_front();
    return r;
}

std::optional<std::string> ScriptedPrompts::chooseFile(const FileChoice& choice) {
    asked.push_back(choice);
    if (files.empty()) {
        return std::nullopt;
    }
    auto r = files.front();
    files.pop_front();
    return r;
}

std::optional<std::string> MemoryFiles::readOrCreate(const std::string& path, std::string& error) {
    if (auto f = failing.find(path); f != failing.end()) {
        error = f->second;
        return std::nullopt;
    }
    return content[path];
}

bool MemoryFiles::overwriteStart(const std::string& path, std::string_view bytes,
                                 std::string& error) {
    if (auto f = failing.find(path); f != failing.end()) {
        error = f->second;
        return false;
    }
    std::string& c = content[path];
    if (c.size() < bytes.size()) {
        c.resize(bytes.size());
    }
    c.replace(0, bytes.size(), bytes);
    return true;
}

std::optional<std::string> MemoryFiles::readAll(const std::string& path, std::string& error) {
    if (auto f = failing.find(path); f != failing.end()) {
        error = f->second;
        return std::nullopt;
    }
    auto it = content.find(path);
    if (it == content.end()) {
        error = "\"" + path + "\": No such file or directory";
        return std::nullopt;
    }
    return it->second;
}

bool MemoryFiles::writeAll(const std::string& path, std::string_view bytes, std::string& error) {
    if (auto f = failing.find(path); f != failing.end()) {
        error = f->second;
        return false;
    }
    content[path] = std::string(bytes);
    return true;
}

std::optional<std::string> MemoryFiles::readPrefix(const std::string& path, std::size_t maxBytes,
                                                   std::string& error) {
    error.clear();
    auto whole = readAll(path, error);
    if (!whole) {
        return std::nullopt;
    }
    if (auto f = failingAfter.find(path);
        f != failingAfter.end() && f->second < maxBytes && whole->size() > f->second) {
        whole->resize(f->second);
        error = "\"" + path + "\": Input/output error";
    }
    if (whole->size() > maxBytes) {
        whole->resize(maxBytes);
    }
    return whole;
}

}  // namespace orva::test
