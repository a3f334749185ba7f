#pragma once

namespace orva {

// The main window's language flag: every language-dependent text is chosen by it.
enum class Language { Chinese = 0, English = 1 };

// Picks the form of a text for `language`.
inline const char* pick(Language language, const char* chinese, const char* english) {
    return language == Language::English ? english : chinese;
}

}  // namespace orva
