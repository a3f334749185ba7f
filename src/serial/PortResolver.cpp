#include "serial/PortResolver.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace orva {
namespace {

constexpr std::array<std::string_view, 4> kFamilies = {"ttyACM", "ttyUSB", "ttyS", "ttyAMA"};

// Family rank and number of a device name such as "/dev/ttyUSB1"; rank -1 if not serial.
std::pair<int, long> rankOf(const std::string& path) {
    std::string_view name(path);
    if (auto slash = name.rfind('/'); slash != std::string_view::npos) {
        name.remove_prefix(slash + 1);
    }
    for (std::size_t i = 0; i < kFamilies.size(); ++i) {
        if (name.starts_with(kFamilies[i])) {
            std::string_view digits = name.substr(kFamilies[i].size());
            if (digits.empty() || !std::all_of(digits.begin(), digits.end(),
                                               [](char c) { return c >= '0' && c <= '9'; })) {
                return {-1, 0};
            }
            return {static_cast<int>(i), std::strtol(std::string(digits).c_str(), nullptr, 10)};
        }
    }
    return {-1, 0};
}

std::vector<std::string> listDev() {
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/dev", ec)) {
        out.push_back(entry.path().string());
    }
    return out;
}

}  // namespace

PortResolver::PortResolver()
    : PortResolver([](const char* name) { return static_cast<const char*>(std::getenv(name)); }) {}

PortResolver::PortResolver(EnvLookup env) : PortResolver(std::move(env), listDev) {}

PortResolver::PortResolver(EnvLookup env, DeviceLister devices)
    : m_env(std::move(env)), m_devices(std::move(devices)) {}

std::vector<std::string> PortResolver::orderedDevices() const {
    std::vector<std::pair<std::pair<int, long>, std::string>> ranked;
    for (auto& path : m_devices()) {
        auto rank = rankOf(path);
        if (rank.first >= 0) {
            ranked.emplace_back(rank, path);
        }
    }
    std::sort(ranked.begin(), ranked.end());
    std::vector<std::string> out;
    for (auto& r : ranked) {
        out.push_back(std::move(r.second));
    }
    return out;
}

std::string PortResolver::deviceFor(int port) const {
    const std::string var = "ORVA_COM" + std::to_string(port);
    if (const char* value = m_env(var.c_str()); value != nullptr && *value != '\0') {
        return value;
    }
    if (port < 1) {
        return {};
    }
    auto devices = orderedDevices();
    return static_cast<std::size_t>(port) <= devices.size() ? devices[port - 1] : std::string{};
}

}  // namespace orva
