#pragma once

#include <optional>
#include <string>

#include "serial/PortResolver.h"

namespace orva::cli {

// The port a command line names: "COMn" as the window's list numbers it, a device path, or
// nothing for the window's last port (qdmcconfig.ini in the current folder, else COM3).
struct PortChoice {
    int com = 0;
    PortResolver resolver;
    // What the core reads as its configuration file: the port it opens.
    std::string record;
    // The number qdmcconfig.ini records when it is none of the list's; COM3 stands in for it.
    std::optional<int> impossibleStored;

    // Nothing, with `error` set, for a "COMn" outside the list.
    static std::optional<PortChoice> from(const std::string& named, std::string& error);
    // "COM3 = /dev/ttyACM0", or "COM3" when nothing stands for it.
    std::string label() const;
};

}  // namespace orva::cli
