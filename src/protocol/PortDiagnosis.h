#pragma once

#include <string>
#include <vector>

#include "serial/CMSComm.h"
#include "serial/DeviceHolders.h"

namespace orva {

// What stands in the way of the port, gathered when it fails to open or its line is lost: the
// cause, the device, the programs holding it, a service that takes USB adapters away.
class PortDiagnosis {
  public:
    // `root` is where the file system starts: "/" on a running system.
    explicit PortDiagnosis(std::string root = "/");

    // Looks at the system once, right after `port` failed to open.
    void failed(const CMSComm& port);
    // The port opened: nothing stands in the way.
    void clear();
    // The open line was lost (cable pulled, controller closed it).
    void lost();
    // True when the device that was missing at the failure is there now under the same name
    // (a fixed path given for the port number, which stays the same whether it exists or not).
    bool appeared(const std::string& deviceNow) const;

    bool lineLost() const { return m_lost; }
    // None when the last opening succeeded.
    CMSComm::OpenFailure failure() const { return m_failure; }
    // The port number and its device at the failure.
    int port() const { return m_port; }
    const std::string& device() const { return m_device; }
    // The serial layer's own words for the failure.
    const std::string& systemText() const { return m_systemText; }
    // Who holds a busy device, the likeliest first.
    const std::vector<DeviceHolder>& holders() const { return m_holders; }
    // brltty runs while the device is missing: it may have taken the adapter.
    bool brlttyRuns() const { return m_brlttyRuns; }

  private:
    std::string m_root;
    DeviceHolders m_system;
    CMSComm::OpenFailure m_failure = CMSComm::OpenFailure::None;
    int m_port = 0;
    std::string m_device;
    std::string m_systemText;
    std::vector<DeviceHolder> m_holders;
    bool m_brlttyRuns = false;
    bool m_lost = false;
};

}  // namespace orva
