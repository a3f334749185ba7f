#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/IPrompts.h"

namespace orva::cli {

// The window's questions answered as the command line asked: every confirmation with yes, every
// file chooser with the file named on the command line. The boxes are kept so the command can
// tell a refusal or a file error from success.
class CliPrompts : public IPrompts {
  public:
    MessageResult message(const MessageBox& box) override;
    std::optional<std::string> chooseFile(const FileChoice& choice) override;

    void setFile(std::string path) { m_file = std::move(path); }
    // Boxes with a warning or error icon since the last call.
    std::vector<MessageBox> takeProblems();
    // Every other box, e.g. the upgrade's success, since the last call.
    std::vector<MessageBox> takeNotes();

  private:
    std::optional<std::string> m_file;
    std::vector<MessageBox> m_problems;
    std::vector<MessageBox> m_notes;
};

}  // namespace orva::cli
