#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/Language.h"
#include "serial/PortResolver.h"

namespace orva::cli {

// A USB serial device as the system lists it.
struct UsbDevice {
    std::string device;       // e.g. "/dev/ttyACM0"
    std::string description;  // maker and product
};

// The port a command line names: "COMn" as the window's list numbers it, a device path, or
// nothing for the window's last port (qdmcconfig.ini in the current folder), else the one USB
// serial device plugged in.
struct PortChoice {
    int com = 0;
    PortResolver resolver;
    // What the core reads as its configuration file: the port it opens.
    std::string record;
    // What --port takes to reach this line again, for a command the user is told to run.
    std::string argument;

    // Nothing, with `error` set, for a "COMn" outside the list, or, when no port is named or
    // stored, for anything but exactly one USB serial device in `usb`.
    static std::optional<PortChoice> from(const std::string& named, std::string& error,
                                          const std::vector<UsbDevice>& usb = {},
                                          Language language = Language::English);
    // "COM3 = /dev/ttyACM0", or "COM3" when nothing stands for it.
    std::string label() const;
};

}  // namespace orva::cli
