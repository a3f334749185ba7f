#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

// A pseudo-terminal whose slave the tool opens as a COM port.
struct Pty {
    Pty() {
        fd = posix_openpt(O_RDWR | O_NOCTTY);
        grantpt(fd);
        unlockpt(fd);
        termios t{};
        tcgetattr(fd, &t);
        cfmakeraw(&t);
        tcsetattr(fd, TCSANOW, &t);
        slave = ptsname(fd);
    }
    ~Pty() { close(fd); }
    std::string read(std::size_t want, int timeoutMs) {
        std::string out;
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (out.size() < want && std::chrono::steady_clock::now() < end) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 50) > 0) {
                char buf[64];
                ssize_t n = ::read(fd, buf, sizeof buf);
                if (n > 0) {
                    out.append(buf, static_cast<std::size_t>(n));
                }
            }
        }
        return out;
    }
    int fd;
    std::string slave;
};

// Runs the real orva binary in `dir` on the offscreen platform until stopped.
class Orva {
public:
    Orva(const fs::path& dir, const std::string& comVar, const std::string& device) {
        m_pid = fork();
        if (m_pid == 0) {
            if (chdir(dir.c_str()) != 0) {
                _exit(127);
            }
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            setenv(comVar.c_str(), device.c_str(), 1);
            execl(ORVA_BINARY, ORVA_BINARY, static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Orva() {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }

private:
    pid_t m_pid;
};

fs::path freshDir(const std::string& name) {
    fs::path dir = fs::temp_directory_path() / ("orva-startup-" + name + "-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Startup, EmptyFolderOpensCom3AndAsksForTheVersion) {
    Pty pty;
    fs::path dir = freshDir("empty");
    Orva orva(dir, "ORVA_COM3", pty.slave);
    EXPECT_EQ(pty.read(3, 10000), "?V\r");
    EXPECT_EQ(fileBytes(dir / "qdmcconfig.ini"), std::string("3\0", 2));
    fs::remove_all(dir);
}

TEST(Startup, StoredPortTwelveIsOpened) {
    Pty pty;
    fs::path dir = freshDir("twelve");
    std::ofstream(dir / "qdmcconfig.ini", std::ios::binary) << "12";
    Orva orva(dir, "ORVA_COM12", pty.slave);
    EXPECT_EQ(pty.read(3, 10000), "?V\r");
    EXPECT_EQ(fileBytes(dir / "qdmcconfig.ini"), "12");
    fs::remove_all(dir);
}

}  // namespace
