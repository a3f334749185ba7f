#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/IFiles.h"

namespace orva {

// qdmcconfig.ini in the current directory: the last COM port as decimal text in the first two
// bytes ("3" + NUL for COM3, "12" for COM12). The file is never truncated, so bytes after the
// first two survive a write.
class ConfigFile {
  public:
    static constexpr const char* kFileName = "qdmcconfig.ini";

    explicit ConfigFile(IFiles& files, std::string path = kFileName);

    struct Read {
        bool recorded = false;  // false for an empty file
        int port = 0;
    };
    // Only the leading number counts, so a file of any size is read this far and no further.
    static constexpr std::size_t kReadBytes = 64;

    // Creates the file empty if missing. A file that cannot be opened for writing is still read
    // when it can be. Nothing on a file error, with `error` set.
    std::optional<Read> read(std::string& error);
    bool write(int port, std::string& error);
    // An error of read() or write() in the user's language of the moment.
    std::string reword(const std::string& error) const { return m_files.reword(error); }

    // The two bytes written for `port`.
    static std::string encode(int port);

  private:
    IFiles& m_files;
    std::string m_path;
};

}  // namespace orva
