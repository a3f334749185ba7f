#pragma once

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace orva::test {

// The real orva binary, started in `dir` on the offscreen platform with COMn mapped to
// `device`, and killed when the test is over.
class OrvaProcess {
  public:
    OrvaProcess(const std::string& binary, const std::filesystem::path& dir, int com,
                const std::string& device) {
        m_pid = fork();
        if (m_pid == 0) {
            if (chdir(dir.c_str()) != 0) {
                _exit(127);
            }
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            setenv(("ORVA_COM" + std::to_string(com)).c_str(), device.c_str(), 1);
            execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~OrvaProcess() {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    OrvaProcess(const OrvaProcess&) = delete;
    OrvaProcess& operator=(const OrvaProcess&) = delete;

  private:
    pid_t m_pid;
};

// An empty folder of its own for one test.
inline std::filesystem::path freshDir() {
    char pattern[] = "/tmp/orva-XXXXXX";
    return mkdtemp(pattern);
}

inline std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace orva::test
