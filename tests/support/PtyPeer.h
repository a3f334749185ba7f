#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orva::test {

// The controller's end of a raw pseudo-terminal pair; the tool opens slave() as its COM port.
// Reads wait at most a deadline so that a silent line fails a test instead of hanging it.
class PtyPeer {
  public:
    PtyPeer() : m_fd(raw(posix_openpt(O_RDWR | O_NOCTTY), "a pseudo-terminal")) {
        if (grantpt(m_fd) != 0 || unlockpt(m_fd) != 0) {
            throw std::runtime_error("no pseudo-terminal");
        }
        m_slave = ptsname(m_fd);
    }
    // The other way round: the tool's end, opening an existing device raw. A hang-up ends a read
    // here; the controller's end waits for a tool that may not have opened the line yet.
    explicit PtyPeer(const std::string& device)
        : m_fd(raw(::open(device.c_str(), O_RDWR | O_NOCTTY), device)),
          m_toolEnd(true),
          m_slave(device) {}
    ~PtyPeer() { close(m_fd); }
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    const std::string& slave() const { return m_slave; }
    void write(std::string_view bytes) {
        ssize_t n = 0;
        while (!bytes.empty() && (n = ::write(m_fd, bytes.data(), bytes.size())) > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
    }
    // Exactly `count` bytes, or fewer when the deadline passes first.
    std::string read(std::size_t count,
                     std::chrono::milliseconds deadline = std::chrono::seconds(10)) {
        std::string out;
        const auto end = std::chrono::steady_clock::now() + deadline;
        while (out.size() < count && std::chrono::steady_clock::now() < end) {
            pollfd p{m_fd, POLLIN, 0};
            if (poll(&p, 1, 20) > 0 && (p.revents & POLLIN)) {
                char buf[256];
                const ssize_t n = ::read(m_fd, buf, std::min(sizeof buf, count - out.size()));
                if (n <= 0 && m_toolEnd) {
                    break;  // hung up
                }
                out.append(buf, std::max<ssize_t>(n, 0));
            }
        }
        return out;
    }
    // What one read returns once anything has arrived: shows how the line cut what it sent.
    std::string readOnce(std::chrono::milliseconds deadline = std::chrono::seconds(10)) {
        pollfd p{m_fd, POLLIN, 0};
        char buf[256];
        const ssize_t n =
            poll(&p, 1, static_cast<int>(deadline.count())) > 0 ? ::read(m_fd, buf, sizeof buf) : 0;
        return std::string(buf, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    }
    // Everything up to and including the first `suffix`, or what came before ten seconds passed.
    std::string readUntil(std::string_view suffix) {
        std::string out;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (std::string byte = "-"; !byte.empty() && !out.ends_with(suffix); out += byte) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            byte = left.count() > 0 ? read(1, left) : "";
        }
        return out;
    }
    // Writes, then reads an answer of `count` bytes.
    std::string exchange(std::string_view bytes, std::size_t count) {
        write(bytes);
        return read(count);
    }
    // Everything that arrives until the line has been quiet for `quiet`.
    std::string drain(std::chrono::milliseconds quiet) {
        std::string out;
        for (std::string byte; !(byte = read(1, quiet)).empty();) {
            out += byte;
        }
        return out;
    }

  private:
    static int raw(int fd, const std::string& what) {
        if (fd < 0) {
            throw std::runtime_error("cannot open " + what);
        }
        termios t{};
        tcgetattr(fd, &t);
        cfmakeraw(&t);
        tcsetattr(fd, TCSANOW, &t);
        return fd;
    }

    int m_fd;
    bool m_toolEnd = false;
    std::string m_slave;
};

}  // namespace orva::test
