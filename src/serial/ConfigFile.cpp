#include "serial/ConfigFile.h"

#include "platform/LeadingInteger.h"

namespace orva {

ConfigFile::ConfigFile(IFiles& files, std::string path) : m_files(files), m_path(std::move(path)) {}

std::optional<ConfigFile::Read> ConfigFile::read(std::string& error) {
    auto content = m_files.readOrCreate(m_path, kReadBytes, error);
    if (!content) {
        std::string readOnlyError;
        content = m_files.readPrefix(m_path, kReadBytes, readOnlyError);
        if (!content || !readOnlyError.empty()) {
            return std::nullopt;
        }
    }
    if (content->empty()) {
        return Read{};
    }
    return Read{true, leadingInteger(*content)};
}

bool ConfigFile::write(int port, std::string& error) {
    return m_files.overwriteStart(m_path, encode(port), error);
}

std::string ConfigFile::encode(int port) {
    std::string digits = std::to_string(port);
    digits.resize(2, '\0');
    return digits;
}

}  // namespace orva
