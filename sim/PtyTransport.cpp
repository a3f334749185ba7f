#include "sim/PtyTransport.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace orva::sim {

PtyTransport::~PtyTransport() {
    close();
}

bool PtyTransport::open(std::string& error) {
    close();
    const int fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        error = std::string("posix_openpt: ") + std::strerror(errno);
        return false;
    }
    termios attributes{};
    const char* name = nullptr;
    if (::grantpt(fd) != 0 || ::unlockpt(fd) != 0 || (name = ::ptsname(fd)) == nullptr ||
        ::tcgetattr(fd, &attributes) != 0) {
        error = std::string("pseudo-terminal set-up: ") + std::strerror(errno);
        ::close(fd);
        return false;
    }
    // Raw, 8 bits, no echo, no CR translation: the slave behaves as a serial line.
    ::cfmakeraw(&attributes);
    ::cfsetispeed(&attributes, B115200);
    ::cfsetospeed(&attributes, B115200);
    if (::tcsetattr(fd, TCSANOW, &attributes) != 0) {
        error = std::string("tcsetattr: ") + std::strerror(errno);
        ::close(fd);
        return false;
    }
    m_master = fd;
    m_slavePath = name;
    return true;
}

void PtyTransport::close() {
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}

void PtyTransport::closeAfterDrain(std::chrono::milliseconds patience) {
    // Closing the master throws away what the slave has not read yet; the queue is watched
    // through a second descriptor of the slave. Written bytes reach that queue a little later
    // than the write returns, so an empty queue counts only after a short settling time.
    const int slave = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    constexpr auto kStep = std::chrono::milliseconds{5};
    constexpr auto kSettle = std::chrono::milliseconds{50};
    for (auto waited = std::chrono::milliseconds{0}; slave >= 0 && waited < patience;
         waited += kStep) {
        int queued = 0;
        if (::ioctl(slave, FIONREAD, &queued) != 0 || (queued == 0 && waited >= kSettle)) {
            break;
        }
        ::poll(nullptr, 0, static_cast<int>(kStep.count()));
    }
    if (slave >= 0) {
        ::close(slave);
    }
    close();
}

std::string PtyTransport::read() {
    std::string out;
    char buffer[1024];
    while (m_master >= 0) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            out.append(buffer, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        break;  // EAGAIN: drained; EIO: nobody holds the slave
    }
    return out;
}

bool PtyTransport::write(std::string_view bytes, std::chrono::milliseconds patience) {
    auto waited = std::chrono::milliseconds{0};
    constexpr auto kStep = std::chrono::milliseconds{20};
    while (!bytes.empty() && m_master >= 0) {
        const ssize_t n = ::write(m_master, bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno != EAGAIN) {
            return false;
        }
        if (waited >= patience) {
            return false;
        }
        pollfd ready{m_master, POLLOUT, 0};
        ::poll(&ready, 1, static_cast<int>(kStep.count()));
        waited += kStep;
    }
    return bytes.empty();
}

void PtyTransport::discardStale() {
    if (m_slavePath.empty()) {
        return;
    }
    const int slave = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave >= 0) {
        ::tcflush(slave, TCIFLUSH);
        ::close(slave);
    }
}

}  // namespace orva::sim
