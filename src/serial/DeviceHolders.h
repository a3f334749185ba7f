#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orva {

// A process that has a device open.
struct DeviceHolder {
    int pid = 0;
    std::string name;  // its command name, e.g. "minicom"
    // False for a service known to claim serial adapters whose open files this user may not read
    // (system services run as another user): it runs, and is the likely holder.
    bool certain = true;
};

// Finds who holds a serial device from the links in /proc/<pid>/fd, so that a busy port can be
// explained by naming the program to close.
class DeviceHolders {
  public:
    // `root` is where the file system starts: "/" on a running system.
    explicit DeviceHolders(std::string root = "/");

    // The processes with `device` open, by process id; when none can be seen, the running
    // services known to grab serial devices whose open files could not be read.
    std::vector<DeviceHolder> of(const std::string& device) const;
    // Whether a process with this command name runs.
    bool running(std::string_view name) const;

  private:
    std::string m_root;
};

}  // namespace orva
