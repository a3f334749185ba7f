#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orva {

// File access of the tool. Each call reports a failure as the file layer's own message. Only
// regular files are opened: a FIFO, a device or a directory is refused without waiting on it.
class IFiles {
  public:
    virtual ~IFiles() = default;

    // Opens `path` for reading and writing, creating it empty when missing and never truncating
    // it, and returns its content from the start, at most `maxBytes`.
    virtual std::optional<std::string> readOrCreate(const std::string& path, std::size_t maxBytes,
                                                    std::string& error) = 0;
    // Opens as above and overwrites the first bytes with `bytes`; later bytes stay as they are.
    virtual bool overwriteStart(const std::string& path, std::string_view bytes,
                                std::string& error) = 0;
    // Whole-file binary write (parameter files).
    virtual bool writeAll(const std::string& path, std::string_view bytes, std::string& error) = 0;
    // Reads the file from its start, at most `maxBytes`. Nothing when it cannot be opened. A read
    // that fails after the opening gives what came before it, with `error` saying why; `error` is
    // left empty otherwise.
    virtual std::optional<std::string> readPrefix(const std::string& path, std::size_t maxBytes,
                                                  std::string& error) = 0;
    // Folders: created with their missing parents; the names of the regular files in one (none
    // when it cannot be read); a file removed.
    virtual bool makeFolders(const std::string& path, std::string& error) = 0;
    virtual std::vector<std::string> fileNames(const std::string& folder) = 0;
    virtual bool remove(const std::string& path, std::string& error) = 0;
    // A message this object gave, worded in the user's language of the moment (it may have
    // changed since); any other text comes back as it is.
    virtual std::string reword(const std::string& error) const { return error; }
};

}  // namespace orva
