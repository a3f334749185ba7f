#include "platform/PosixFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orva {
namespace {

std::string describe(const std::string& path, int err) {
    // A full disk has a standard text of its own, the one the window's users know.
    if (err == ENOSPC || err == EDQUOT) {
        return "目的磁盘驱动器已满。";
    }
    return "\"" + path + "\": " + std::strerror(err);
}

std::string notRegular(const std::string& path) {
    return "\"" + path + "\": not a regular file";
}

// Closes the descriptor on every path out of a function.
class Fd {
  public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

  private:
    int m_fd;
};

// Opens a regular file, or for `devicesToo` also a character device (a save to /dev/null). The
// opening never waits: a FIFO without a writer or reader would otherwise hold the one thread,
// and the window with it, in open() or read().
int openRegular(const std::string& path, int flags, std::string& error, bool devicesToo = false) {
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        // A FIFO opened for writing with nobody reading it.
        error = errno == ENXIO ? notRegular(path) : describe(path, errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 ||
        !(S_ISREG(info.st_mode) || (devicesToo && S_ISCHR(info.st_mode)))) {
        ::close(fd);
        error = notRegular(path);
        return -1;
    }
    return fd;
}

// Reads from the start, at most `maxBytes`. A read that fails gives nothing when `whole`, else
// what came before it, with `error` saying why.
std::optional<std::string> readFd(int fd, std::size_t maxBytes, bool whole, const std::string& path,
                                  std::string& error) {
    std::string content;
    char buf[65536];
    while (content.size() < maxBytes) {
        const std::size_t want = std::min(sizeof buf, maxBytes - content.size());
        const ssize_t n = ::read(fd, buf, want);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = describe(path, errno);
            if (whole) {
                return std::nullopt;
            }
            break;
        }
        if (n == 0) {
            break;
        }
        content.append(buf, static_cast<std::size_t>(n));
    }
    return content;
}

bool writeFd(int fd, std::string_view bytes, const std::string& path, std::string& error) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = describe(path, errno);
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

std::optional<std::string> PosixFiles::readOrCreate(const std::string& path, std::size_t maxBytes,
                                                    std::string& error) {
    Fd fd(openRegular(path, O_RDWR | O_CREAT, error));
    if (fd.get() < 0) {
        return std::nullopt;
    }
    return readFd(fd.get(), maxBytes, true, path, error);
}

bool PosixFiles::overwriteStart(const std::string& path, std::string_view bytes,
                                std::string& error) {
    Fd fd(openRegular(path, O_RDWR | O_CREAT, error));
    return fd.get() >= 0 && writeFd(fd.get(), bytes, path, error);
}

bool PosixFiles::writeAll(const std::string& path, std::string_view bytes, std::string& error) {
    Fd fd(openRegular(path, O_WRONLY | O_CREAT | O_TRUNC, error, true));
    return fd.get() >= 0 && writeFd(fd.get(), bytes, path, error);
}

std::optional<std::string> PosixFiles::readPrefix(const std::string& path, std::size_t maxBytes,
                                                  std::string& error) {
    error.clear();
    Fd fd(openRegular(path, O_RDONLY, error));
    if (fd.get() < 0) {
        return std::nullopt;
    }
    return readFd(fd.get(), maxBytes, false, path, error);
}

bool PosixFiles::makeFolders(const std::string& path, std::string& error) {
    for (std::size_t at = path.find('/', 1);; at = path.find('/', at + 1)) {
        const std::string part = path.substr(0, at);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            error = describe(part, errno);
            return false;
        }
        if (at == std::string::npos) {
            return true;
        }
    }
}

std::vector<std::string> PosixFiles::fileNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        struct stat st {};
        const std::string name = entry->d_name;
        if (::lstat((folder + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            names.push_back(name);
        }
    }
    ::closedir(dir);
    return names;
}

bool PosixFiles::remove(const std::string& path, std::string& error) {
    if (::unlink(path.c_str()) != 0) {
        error = describe(path, errno);
        return false;
    }
    return true;
}

}  // namespace orva
