#include "SlaveLine.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace orva::sim::test {

using Clock = std::chrono::steady_clock;

SlaveLine::SlaveLine(const std::string& path) {
    m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0) {
        return;
    }
    termios attributes{};
    ::tcgetattr(m_fd, &attributes);
    ::cfmakeraw(&attributes);
    ::tcsetattr(m_fd, TCSANOW, &attributes);
}

SlaveLine::~SlaveLine() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

void SlaveLine::send(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
        } else {
            pollfd ready{m_fd, POLLOUT, 0};
            if (::poll(&ready, 1, 1000) <= 0) {
                return;
            }
        }
    }
}

std::string SlaveLine::receive(std::size_t count, std::chrono::milliseconds deadline) {
    std::string out;
    const auto end = Clock::now() + deadline;
    while (out.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd ready{m_fd, POLLIN, 0};
        if (::poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        char buffer[256];
        const std::size_t want = std::min(sizeof buffer, count - out.size());
        const ssize_t n = ::read(m_fd, buffer, want);
        if (n <= 0) {
            break;
        }
        out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

std::string SlaveLine::receiveUntil(std::string_view suffix, std::chrono::milliseconds deadline) {
    std::string out;
    const auto end = Clock::now() + deadline;
    while (out.size() < suffix.size() ||
           out.compare(out.size() - suffix.size(), suffix.size(), suffix) != 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        const std::string byte = receive(1, left);
        if (byte.empty()) {
            break;
        }
        out += byte;
    }
    return out;
}

std::string SlaveLine::drain(std::chrono::milliseconds quiet) {
    std::string out;
    for (;;) {
        pollfd ready{m_fd, POLLIN, 0};
        if (::poll(&ready, 1, static_cast<int>(quiet.count())) <= 0) {
            return out;
        }
        char buffer[256];
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n <= 0) {
            return out;
        }
        out.append(buffer, static_cast<std::size_t>(n));
    }
}

std::string SlaveLine::exchange(std::string_view bytes, std::size_t count) {
    send(bytes);
    return receive(count);
}

bool SlaveLine::hungUp() {
    pollfd ready{m_fd, POLLIN, 0};
    return ::poll(&ready, 1, 0) > 0 && (ready.revents & POLLHUP) != 0;
}

}  // namespace orva::sim::test
