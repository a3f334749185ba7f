#pragma once

#include <functional>

#include "platform/IFiles.h"

namespace orva {

// Files on the local file system. Errors are worded in the user's language: `inEnglish` is
// asked at each failure (the window's language flag can change at any time); without it, Chinese.
class PosixFiles : public IFiles {
  public:
    explicit PosixFiles(std::function<bool()> inEnglish = {});
    void setLanguage(std::function<bool()> inEnglish) { m_inEnglish = std::move(inEnglish); }

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

  private:
    bool english() const;

    std::function<bool()> m_inEnglish;
};

}  // namespace orva
