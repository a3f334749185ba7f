#include "paramfile/RestoreEntries.h"

#include "platform/LeadingInteger.h"

namespace orva {
namespace {

// Entries 31 to 174 (sensor, reverse and function-matrix flags) take a single byte; the others
// four.
constexpr int kFirstFlagEntry = 31;
constexpr int kLastFlagEntry = 174;
constexpr std::size_t kValueWidth = 4;
constexpr std::size_t kFlagWidth = 1;

}  // namespace

std::size_t RestoreEntries::width(int index) {
    return index >= kFirstFlagEntry && index <= kLastFlagEntry ? kFlagWidth : kValueWidth;
}

void RestoreEntries::store(int index, std::string_view lineText) {
    if (index < 0 || index >= kCount) {
        return;
    }
    // A line too short to reach the value gives an empty entry.
    if (lineText.size() <= kValueStart) {
        m_entries[index].clear();
        return;
    }
    m_entries[index] = std::string(lineText.substr(kValueStart, width(index)));
}

int RestoreEntries::readFrom(std::string_view fileBytes) {
    int line = 0;
    std::string text;
    std::size_t at = 0;
    while (at < fileBytes.size() && line < kCount) {
        text.clear();
        while (at < fileBytes.size()) {
            const char c = fileBytes[at];
            if (c == '\n') {
                ++at;
                break;
            }
            if (c == '\r' && at + 1 < fileBytes.size() && fileBytes[at + 1] == '\n') {
                at += 2;
                break;
            }
            // Only the bytes up to the end of the widest entry matter; the rest of a long line
            // is skipped, not kept.
            if (text.size() < kValueStart + kValueWidth) {
                text.push_back(c);
            }
            ++at;
        }
        store(line, text);
        ++line;
    }
    return line;
}

const std::string& RestoreEntries::text(int index) const {
    static const std::string kEmpty;
    return index >= 0 && index < kCount ? m_entries[index] : kEmpty;
}

int RestoreEntries::integer(int index) const {
    return leadingInteger(text(index));
}

}  // namespace orva
