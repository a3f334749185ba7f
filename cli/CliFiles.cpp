#include "cli/CliFiles.h"

#include <algorithm>

namespace orva::cli {

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
