#include "cli/CliFiles.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orva::cli {

std::optional<std::string> CliFiles::standardInput(std::size_t maxBytes, std::string& error) {
    static std::optional<std::string> bytes;
    static std::string readError;
    if (!bytes && readError.empty()) {
        std::string all;
        char chunk[4096];
        for (;;) {
            const ssize_t n = ::read(0, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                readError = std::string("standard input: ") + std::strerror(errno);
                break;
            }
            if (n == 0) {
                bytes = std::move(all);
                break;
            }
            all.append(chunk, static_cast<std::size_t>(n));
        }
    }
    if (!bytes) {
        error = readError;
        return std::nullopt;
    }
    return bytes->substr(0, maxBytes);
}

bool CliFiles::writeAll(const std::string& path, std::string_view bytes, std::string& error) {
    if (path == kStandard) {
        m_standardOutput.assign(bytes);
        return true;
    }
    return m_files.writeAll(path, bytes, error);
}

std::optional<std::string> CliFiles::readPrefix(const std::string& path, std::size_t maxBytes,
                                                std::string& error) {
    return path == kStandard ? standardInput(maxBytes, error)
                             : m_files.readPrefix(path, maxBytes, error);
}

std::optional<std::string> CliFiles::readOrCreate(const std::string& path, std::size_t maxBytes,
                                                  std::string& error) {
    if (path == kPortRecord) {
        return m_portRecord.substr(0, maxBytes);
    }
    return m_files.readOrCreate(path, maxBytes, error);
}

bool CliFiles::overwriteStart(const std::string& path, std::string_view bytes, std::string& error) {
    if (path == kPortRecord) {
        // Bytes past the written ones stay, as in the real file.
        const std::size_t kept = std::min(bytes.size(), m_portRecord.size());
        m_portRecord.replace(0, kept, bytes);
        return true;
    }
    return m_files.overwriteStart(path, bytes, error);
}

}  // namespace orva::cli
