#pragma once

#include <array>
#include <string>
#include <string_view>

namespace orva {

// The value texts of a parameter file as the restore reads them: entry j is cut from line j at
// fixed byte positions. Entries keep the last file read until a later file overwrites them, so a
// shorter file leaves the later entries of an earlier one in place.
class RestoreEntries {
  public:
    static constexpr int kCount = 220;
    // The value texts start behind the 13-byte labels.
    static constexpr std::size_t kValueStart = 13;

    // Splits the file's bytes into lines as a text-mode stream reads them (each CR LF becomes
    // LF, the LF that ends a line is removed) and stores an entry per line, up to kCount.
    // Returns the number of lines taken.
    int readFrom(std::string_view fileBytes);
    // Stores the entry of line `index` cut from its text.
    void store(int index, std::string_view lineText);

    // Empty outside 0..kCount-1.
    const std::string& text(int index) const;
    // The text's leading decimal integer; 0 when it holds none.
    int integer(int index) const;

  private:
    // How many bytes of its line an entry takes.
    static std::size_t width(int index);

    std::array<std::string, kCount> m_entries;
};

}  // namespace orva
