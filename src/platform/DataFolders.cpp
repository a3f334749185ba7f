#include "platform/DataFolders.h"

namespace orva {

std::string backupFolder(const char* xdgDataHome, const char* home) {
    constexpr const char* kBackups = "/Orva/backups";
    // A relative XDG_DATA_HOME is invalid and is ignored, as the base directory rules say.
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
        return std::string(xdgDataHome) + kBackups;
    }
    if (home != nullptr && home[0] != '\0') {
        return std::string(home) + "/.local/share" + kBackups;
    }
    return {};
}

}  // namespace orva
