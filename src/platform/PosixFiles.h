#pragma once

#include "platform/IFiles.h"

namespace orva {

class PosixFiles : public IFiles {
  public:
    std::optional<std::string> readOrCreate(const std::string& path, std::size_t maxBytes,
                                            std::string& error) override;
    bool overwriteStart(const std::string& path, std::string_view bytes,
                        std::string& error) override;
    bool writeAll(const std::string& path, std::string_view bytes, std::string& error) override;
    std::optional<std::string> readPrefix(const std::string& path, std::size_t maxBytes,
                                          std::string& error) override;
    bool makeFolders(const std::string& path, std::string& error) override;
    std::vector<std::string> fileNames(const std::string& folder) override;
    bool remove(const std::string& path, std::string& error) override;
};

}  // namespace orva
