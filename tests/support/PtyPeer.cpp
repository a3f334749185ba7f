#include "support/PtyPeer.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <stdexcept>

namespace orva::test {

PtyPeer::PtyPeer() {
    m_fd = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_fd < 0 || grantpt(m_fd) != 0 || unlockpt(m_fd) != 0) {
        throw std::runtime_error("no pseudo-terminal");
    }
    termios t{};
    tcgetattr(m_fd, &t);
    cfmakeraw(&t);
    tcsetattr(m_fd, TCSANOW, &t);
    m_slave = ptsname(m_fd);
}

PtyPeer::PtyPeer(const std::string& device) : m_toolEnd(true), m_slave(device) {
    m_fd = ::open(device.c_str(), O_RDWR | O_NOCTTY);
    if (m_fd < 0) {
        throw std::runtime_error("cannot open " + device);
    }
    termios t{};
    tcgetattr(m_fd, &t);
    cfmakeraw(&t);
    tcsetattr(m_fd, TCSANOW, &t);
}

PtyPeer::~PtyPeer() {
    if (m_fd >= 0) {
        close(m_fd);
    }
}

void PtyPeer::write(std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
        if (n <= 0) {
            return;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

std::string PtyPeer::read(std::size_t count, std::chrono::milliseconds deadline) {
    std::string out;
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (out.size() < count && std::chrono::steady_clock::now() < end) {
        pollfd p{m_fd, POLLIN, 0};
        if (poll(&p, 1, 20) > 0 && (p.revents & POLLIN)) {
            char buf[256];
            const std::size_t want = std::min(sizeof buf, count - out.size());
            ssize_t n = ::read(m_fd, buf, want);
            if (n > 0) {
                out.append(buf, static_cast<std::size_t>(n));
            } else if (m_toolEnd) {
                break;  // hung up
            }
        }
    }
    return out;
}

std::string PtyPeer::readUntil(std::string_view suffix, std::chrono::milliseconds deadline) {
    std::string out;
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!out.ends_with(suffix)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        const std::string byte = left.count() > 0 ? read(1, left) : "";
        if (byte.empty()) {
            break;
        }
        out += byte;
    }
    return out;
}

std::string PtyPeer::exchange(std::string_view bytes, std::size_t count) {
    write(bytes);
    return read(count);
}

bool PtyPeer::hungUp() const {
    pollfd p{m_fd, POLLIN, 0};
    return poll(&p, 1, 0) > 0 && (p.revents & POLLHUP) != 0;
}

std::string PtyPeer::drain(std::chrono::milliseconds quiet) {
    std::string out;
    for (;;) {
        pollfd p{m_fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(quiet.count())) <= 0 || !(p.revents & POLLIN)) {
            return out;
        }
        char buf[256];
        ssize_t n = ::read(m_fd, buf, sizeof buf);
        if (n <= 0) {
            return out;
        }
        out.append(buf, static_cast<std::size_t>(n));
    }
}

}  // namespace orva::test
