#pragma once

#include <optional>
#include <string>

#include "platform/IPrompts.h"

namespace orva::cli {

// The window's questions answered as the command line asked: every confirmation with yes, every
// file chooser with the file named on the command line. How an exchange ended comes from its
// result, not from its box.
class CliPrompts : public IPrompts {
  public:
    MessageResult message(const MessageBox& box) override;
    std::optional<std::string> chooseFile(const FileChoice& choice) override;

    void setFile(std::string path) { m_file = std::move(path); }

  private:
    std::optional<std::string> m_file;
};

}  // namespace orva::cli
