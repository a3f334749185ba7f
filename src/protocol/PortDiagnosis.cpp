#include "protocol/PortDiagnosis.h"

#include <filesystem>

namespace orva {

using Failure = CMSComm::OpenFailure;

PortDiagnosis::PortDiagnosis(std::string root) : m_root(root), m_system(std::move(root)) {}

void PortDiagnosis::failed(const CMSComm& port) {
    m_lost = false;
    m_failure = port.LastOpenFailure();
    m_port = port.GetCommPort();
    m_device = port.DeviceName();
    m_systemText = port.LastError();
    m_holders = m_failure == Failure::Busy ? m_system.of(m_device) : std::vector<DeviceHolder>{};
    // brltty takes some USB serial chips away before their device file appears.
    m_brlttyRuns = (m_failure == Failure::NoDevice || m_failure == Failure::Gone) &&
                   m_system.running("brltty");
}

void PortDiagnosis::clear() {
    m_failure = Failure::None;
    m_lost = false;
}

void PortDiagnosis::lost() {
    m_lost = true;
}

bool PortDiagnosis::appeared(const std::string& deviceNow) const {
    if (m_failure != Failure::Gone || deviceNow.empty() || deviceNow != m_device) {
        return false;
    }
    const std::filesystem::path path = deviceNow.front() == '/'
                                           ? std::filesystem::path(m_root) / deviceNow.substr(1)
                                           : std::filesystem::path(deviceNow);
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

}  // namespace orva
