#include "cli/CliPrompts.h"

#include <utility>

namespace orva::cli {

MessageResult CliPrompts::message(const MessageBox& box) {
    if (box.icon == MessageIcon::Warning || box.icon == MessageIcon::Error) {
        m_problems.push_back(box);
    } else if (box.buttons == MessageButtons::Ok) {
        m_notes.push_back(box);
    }
    // The command line is the user's answer to the window's confirmations.
    switch (box.buttons) {
        case MessageButtons::Ok:
        case MessageButtons::OkCancel:
            return MessageResult::Ok;
        case MessageButtons::YesNo:
            return MessageResult::Yes;
    }
    return MessageResult::Ok;
}

std::optional<std::string> CliPrompts::chooseFile(const FileChoice&) {
    return m_file;
}

std::vector<MessageBox> CliPrompts::takeProblems() {
    return std::exchange(m_problems, {});
}

std::vector<MessageBox> CliPrompts::takeNotes() {
    return std::exchange(m_notes, {});
}

}  // namespace orva::cli
