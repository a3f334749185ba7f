#pragma once

#include <string>
#include <vector>

#include "model/Language.h"
#include "serial/CMSComm.h"
#include "serial/DeviceHolders.h"

namespace orva {

// Why a port could not be opened, said beside the port list as a cause the user can act on:
// the dialout group, the program holding the device, a controller not plugged in.
class PortDiagnosis {
  public:
    // `root` is where the file system starts: "/" on a running system.
    explicit PortDiagnosis(std::string root = "/");

    // Looks at the system once, right after `port` failed to open.
    void failed(const CMSComm& port);
    // The port opened: nothing to say.
    void clear();
    // The open line was lost (cable pulled, controller closed it).
    void lost();
    // True when the device that was missing at the failure is there now under the same name
    // (a fixed path given for the port number, which stays the same whether it exists or not).
    bool appeared(const std::string& deviceNow) const;

    // The cause and the remedy in `language`; empty when the last opening succeeded.
    // `deviceNow` is what the port number stands for now: when a device has been plugged in or
    // pulled out since the failure, that is said instead.
    std::string describe(Language language, const std::string& deviceNow) const;

  private:
    std::string busy(Language language) const;
    std::string brlttyHint(Language language) const;

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
