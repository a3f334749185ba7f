#include <gtest/gtest.h>

#include <map>

#include "serial/PortResolver.h"

namespace orva {
namespace {

PortResolver resolverWith(std::map<std::string, std::string> env, std::vector<std::string> devs) {
    return PortResolver(
        [env = std::move(env)](const char* name) -> const char* {
            auto it = env.find(name);
            return it == env.end() ? nullptr : it->second.c_str();
        },
        [devs = std::move(devs)] { return devs; });
}

TEST(PortResolver, UsbAdaptersFirstInNumericOrder) {
    auto resolver = resolverWith({}, {"/dev/ttyS1", "/dev/ttyUSB10", "/dev/tty", "/dev/ttyS0",
                                      "/dev/ttyUSB2", "/dev/ttyACM0", "/dev/null", "/dev/ttyUSBx"});
    EXPECT_EQ(resolver.orderedDevices(),
              (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyUSB10",
                                        "/dev/ttyS0", "/dev/ttyS1"}));
    EXPECT_EQ(resolver.deviceFor(1), "/dev/ttyACM0");
    EXPECT_EQ(resolver.deviceFor(3), "/dev/ttyUSB10");
    EXPECT_EQ(resolver.deviceFor(6), "");  // fewer devices than the number
    EXPECT_EQ(resolver.deviceFor(0), "");
}

TEST(PortResolver, EnvironmentNamesTheDevice) {
    auto resolver =
        resolverWith({{"ORVA_COM3", "/dev/pts/4"}, {"ORVA_COM5", ""}}, {"/dev/ttyUSB0"});
    EXPECT_EQ(resolver.deviceFor(3), "/dev/pts/4");
    EXPECT_EQ(resolver.deviceFor(1), "/dev/ttyUSB0");
    EXPECT_EQ(resolver.deviceFor(5), "");  // an empty variable falls back to the rule
}

}  // namespace
}  // namespace orva
