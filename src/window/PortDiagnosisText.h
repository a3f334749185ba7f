#pragma once

#include <string>

#include "model/Language.h"
#include "protocol/PortDiagnosis.h"

namespace orva {

// Why the port could not be opened or its line went, as a cause the user can act on, in
// `language`: the dialout group, the program holding the device, a controller not plugged in.
// Empty when the last opening succeeded. `deviceNow` is what the port number stands for now:
// when a device has been plugged in or pulled out since the failure, that is said instead.
std::string describePort(const PortDiagnosis& diagnosis, Language language,
                         const std::string& deviceNow);

}  // namespace orva
