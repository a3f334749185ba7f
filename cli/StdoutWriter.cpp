#include "cli/StdoutWriter.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace orva::cli {

bool StdoutWriter::write(std::string_view bytes) {
    while (!bytes.empty() && m_error.empty()) {
        const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            m_error = std::strerror(n < 0 ? errno : EIO);
            break;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return m_error.empty();
}

}  // namespace orva::cli
