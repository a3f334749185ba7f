#pragma once

#include <functional>
#include <string>
#include <vector>

namespace orva {

// Maps the COM numbers the user picks to serial devices. ORVA_COM<n> in the environment names
// the device for COMn outright; otherwise COMn is the n-th entry of the system's serial devices
// with USB adapters first (ttyACM*, then ttyUSB*, each by number), then built-in ports
// (ttyS*, ttyAMA*, by number), so the numbering stays put while the same devices are plugged in.
class PortResolver {
  public:
    using EnvLookup = std::function<const char*(const char*)>;
    using DeviceLister = std::function<std::vector<std::string>()>;

    // Defaults: the process environment and the entries of /dev.
    PortResolver();
    // `env` stands in for the process environment.
    explicit PortResolver(EnvLookup env);
    PortResolver(EnvLookup env, DeviceLister devices);

    // Empty when nothing stands for `port`.
    std::string deviceFor(int port) const;
    // The candidate devices in COM order.
    std::vector<std::string> orderedDevices() const;

  private:
    EnvLookup m_env;
    DeviceLister m_devices;
};

}  // namespace orva
