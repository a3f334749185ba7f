#include "platform/PosixFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace orva {
namespace {

using Say = PosixFiles::Say;

// Not an errno value: an opened path that is not a regular file.
constexpr int kNotRegular = -1;

struct ErrorText {
    int code;
    const char* chinese;
    const char* english;
};

// The errors a user meets with files, in both languages. The system's own strerror() follows
// the process locale rather than the window's language flag, so it is only the last resort.
constexpr ErrorText kErrorTexts[] = {
    {ENOENT, "没有那个文件或目录", "No such file or directory"},
    {EACCES, "权限不够", "Permission denied"},
    {EPERM, "不允许的操作", "Operation not permitted"},
    {EROFS, "只读文件系统", "Read-only file system"},
    {EISDIR, "是一个目录", "Is a directory"},
    {ENOTDIR, "路径中有一项不是目录", "Not a directory"},
    {EIO, "输入/输出错误", "Input/output error"},
    {ENAMETOOLONG, "文件名过长", "File name too long"},
    {ELOOP, "符号链接的层数过多", "Too many levels of symbolic links"},
    {EMFILE, "打开的文件过多", "Too many open files"},
    {ENFILE, "系统中打开的文件过多", "Too many open files in system"},
    {EBUSY, "设备或资源忙", "Device or resource busy"},
    {ETXTBSY, "文本文件忙", "Text file busy"},
    {EFBIG, "文件过大", "File too large"},
    {EEXIST, "文件已存在", "File exists"},
    {EINVAL, "无效的参数", "Invalid argument"},
    {ENODEV, "没有那个设备", "No such device"},
    {ESTALE, "过旧的文件控柄", "Stale file handle"},
};

// The words for `err` (or kNotRegular) about `path` in one language.
std::string describe(const std::string& path, int err, bool english) {
    if (err == kNotRegular) {
        return english ? "\"" + path + "\": not a regular file" : "“" + path + "”：不是普通文件";
    }
    // A full disk has a standard text of its own, the one the window's users know.
    if (err == ENOSPC || err == EDQUOT) {
        return english ? "The destination disk drive is full." : "目的磁盘驱动器已满。";
    }
    for (const ErrorText& text : kErrorTexts) {
        if (text.code == err) {
            return english ? "\"" + path + "\": " + text.english
                           : "“" + path + "”：" + text.chinese;
        }
    }
    return english ? "\"" + path + "\": " + std::strerror(err)
                   : "“" + path + "”：系统错误 " + std::to_string(err) + "（" + std::strerror(err) +
                         "）";
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
int openRegular(const std::string& path, int flags, const Say& say, std::string& error,
                bool devicesToo = false) {
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        // A FIFO opened for writing with nobody reading it.
        error = say(path, errno == ENXIO ? kNotRegular : errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 ||
        !(S_ISREG(info.st_mode) || (devicesToo && S_ISCHR(info.st_mode)))) {
        ::close(fd);
        error = say(path, kNotRegular);
        return -1;
    }
    return fd;
}

// Reads from the start, at most `maxBytes`. A read that fails gives nothing when `whole`, else
// what came before it, with `error` saying why.
std::optional<std::string> readFd(int fd, std::size_t maxBytes, bool whole, const std::string& path,
                                  const Say& say, std::string& error) {
    std::string content;
    char buf[65536];
    while (content.size() < maxBytes) {
        const std::size_t want = std::min(sizeof buf, maxBytes - content.size());
        const ssize_t n = ::read(fd, buf, want);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = say(path, errno);
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

bool writeFd(int fd, std::string_view bytes, const std::string& path, const Say& say,
             std::string& error) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = say(path, errno);
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

PosixFiles::PosixFiles(std::function<bool()> inEnglish)
    : m_inEnglish(std::move(inEnglish)),
      m_say([this](const std::string& path, int err) { return say(path, err); }) {}

bool PosixFiles::english() const {
    return m_inEnglish && m_inEnglish();
}

std::string PosixFiles::say(const std::string& path, int err) {
    if (m_said.size() == kRemembered) {
        m_said.erase(m_said.begin());
    }
    m_said.push_back({describe(path, err, false), describe(path, err, true)});
    return english() ? m_said.back().english : m_said.back().chinese;
}

std::string PosixFiles::reword(const std::string& error) const {
    for (const Words& words : m_said) {
        if (error == words.chinese || error == words.english) {
            return english() ? words.english : words.chinese;
        }
    }
    return error;
}

std::optional<std::string> PosixFiles::readOrCreate(const std::string& path, std::size_t maxBytes,
                                                    std::string& error) {
    Fd fd(openRegular(path, O_RDWR | O_CREAT, m_say, error));
    if (fd.get() < 0) {
        return std::nullopt;
    }
    return readFd(fd.get(), maxBytes, true, path, m_say, error);
}

bool PosixFiles::overwriteStart(const std::string& path, std::string_view bytes,
                                std::string& error) {
    Fd fd(openRegular(path, O_RDWR | O_CREAT, m_say, error));
    return fd.get() >= 0 && writeFd(fd.get(), bytes, path, m_say, error);
}

bool PosixFiles::writeAll(const std::string& path, std::string_view bytes, std::string& error) {
    Fd fd(openRegular(path, O_WRONLY | O_CREAT | O_TRUNC, m_say, error, true));
    return fd.get() >= 0 && writeFd(fd.get(), bytes, path, m_say, error);
}

std::optional<std::string> PosixFiles::readPrefix(const std::string& path, std::size_t maxBytes,
                                                  std::string& error) {
    error.clear();
    Fd fd(openRegular(path, O_RDONLY, m_say, error));
    if (fd.get() < 0) {
        return std::nullopt;
    }
    return readFd(fd.get(), maxBytes, false, path, m_say, error);
}

bool PosixFiles::makeFolders(const std::string& path, std::string& error) {
    for (std::size_t at = path.find('/', 1);; at = path.find('/', at + 1)) {
        const std::string part = path.substr(0, at);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            error = m_say(part, errno);
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
        error = m_say(path, errno);
        return false;
    }
    return true;
}

}  // namespace orva
