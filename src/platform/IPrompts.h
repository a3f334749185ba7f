#pragma once

#include <optional>
#include <string>

namespace orva {

enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageResult { Ok, Cancel, Yes, No };

struct MessageBox {
    std::string text;
    std::string title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    // The button that Enter picks; Cancel/No where a question must not be confirmed by accident.
    MessageResult defaultButton = MessageResult::Ok;
};

struct FileChoice {
    bool save = false;          // save dialog rather than open dialog
    std::string defaultName;    // suggested file name
    std::string defaultSuffix;  // appended when the user types none, e.g. "txt"
    std::string filter;         // e.g. "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||"
    std::string title;
};

// Everything that asks the user: message boxes and file choosers. The view answers with real
// dialogs; tests answer from a script.
class IPrompts {
  public:
    virtual ~IPrompts() = default;
    virtual MessageResult message(const MessageBox& box) = 0;
    // The chosen path, or nothing when the user cancels.
    virtual std::optional<std::string> chooseFile(const FileChoice& choice) = 0;
};

}  // namespace orva
