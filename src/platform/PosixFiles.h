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
    PosixFiles(const PosixFiles&) = delete;
    PosixFiles& operator=(const PosixFiles&) = delete;

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
    std::string reword(const std::string& error) const override;

    // Words a failure (an errno value) about `path`; used by every operation.
    using Say = std::function<std::string(const std::string& path, int err)>;

  private:
    struct Words {
        std::string chinese, english;
    };
    // Failures said lately, in both languages, for reword().
    static constexpr std::size_t kRemembered = 16;

    bool english() const;
    std::string say(const std::string& path, int err);

    std::function<bool()> m_inEnglish;
    Say m_say;
    std::vector<Words> m_said;
};

}  // namespace orva
