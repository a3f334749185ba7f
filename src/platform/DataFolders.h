#pragma once

#include <string>

namespace orva {

// The folder of the parameter backups, from the XDG_DATA_HOME and HOME variables as given
// (either may be null): $XDG_DATA_HOME/Orva/backups when it is an absolute path, else
// $HOME/.local/share/Orva/backups; empty when neither names a folder.
std::string backupFolder(const char* xdgDataHome, const char* home);

}  // namespace orva
