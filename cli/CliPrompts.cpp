#include "cli/CliPrompts.h"

namespace orva::cli {

MessageResult CliPrompts::message(const MessageBox& box) {
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

}  // namespace orva::cli
