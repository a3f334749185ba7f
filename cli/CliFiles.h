#pragma once

#include <string>
#include <utility>

#include "platform/IFiles.h"

namespace orva::cli {

// The real files, but the port record stays in memory: a command line names its port, or takes
// the window's last one, and never changes what the window remembers. The file "-" is standard
// input to read and, to write, bytes kept for standard output.
class CliFiles : public IFiles {
  public:
    // The name the core is given for its configuration file.
    static constexpr const char* kPortRecord = "orva-cli:port";
    static constexpr const char* kStandard = "-";

    // All of standard input, read on the first call; the same bytes on every later one.
    static std::optional<std::string> standardInput(std::size_t maxBytes, std::string& error);

    CliFiles(IFiles& files, std::string portRecord)
        : m_files(files), m_portRecord(std::move(portRecord)) {}

    std::optional<std::string> readOrCreate(const std::string& path, std::size_t maxBytes,
                                            std::string& error) override;
    bool overwriteStart(const std::string& path, std::string_view bytes,
                        std::string& error) override;
    bool writeAll(const std::string& path, std::string_view bytes, std::string& error) override;
    std::optional<std::string> readPrefix(const std::string& path, std::size_t maxBytes,
                                          std::string& error) override;
    // What was written to "-", taken once.
    std::string takeStandardOutput() { return std::exchange(m_standardOutput, {}); }

    bool makeFolders(const std::string& path, std::string& error) override {
        return m_files.makeFolders(path, error);
    }
    std::vector<std::string> fileNames(const std::string& folder) override {
        return m_files.fileNames(folder);
    }
    bool remove(const std::string& path, std::string& error) override {
        return m_files.remove(path, error);
    }

  private:
    IFiles& m_files;
    std::string m_portRecord;
    std::string m_standardOutput;
};

}  // namespace orva::cli
