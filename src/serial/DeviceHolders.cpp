#include "serial/DeviceHolders.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace orva {
namespace {

namespace fs = std::filesystem;

// ModemManager probes every new serial device as a modem; brltty claims common USB serial chips
// as braille displays. Both run as root, so their open files are hidden from the user.
constexpr std::array<std::string_view, 2> kGrabbers = {"ModemManager", "brltty"};

bool isPid(const std::string& name) {
    return !name.empty() &&
           std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string commandName(const fs::path& process) {
    std::ifstream in(process / "comm");
    std::string name;
    std::getline(in, name);
    return name;
}

// The process directories under <root>/proc.
std::vector<fs::path> processes(const std::string& root) {
    std::vector<fs::path> out;
    std::error_code ec;
    for (auto it = fs::directory_iterator(fs::path(root) / "proc", ec);
         !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (isPid(it->path().filename().string())) {
            out.push_back(it->path());
        }
    }
    return out;
}

}  // namespace

DeviceHolders::DeviceHolders(std::string root) : m_root(std::move(root)) {}

std::vector<DeviceHolder> DeviceHolders::of(const std::string& device) const {
    // The links name the device file itself, so a symbolic link such as /dev/serial/by-id/...
    // or one made for ORVA_COM<n> is followed first.
    std::string real = device;
    std::error_code ec;
    const fs::path base = fs::canonical(m_root, ec);
    const fs::path resolved =
        fs::canonical(fs::path(m_root) / fs::path(device).relative_path(), ec);
    if (!ec) {
        real = "/" + resolved.lexically_relative(base).string();
    }
    std::vector<DeviceHolder> seen;
    std::vector<DeviceHolder> hidden;
    for (const fs::path& process : processes(m_root)) {
        const int pid = std::stoi(process.filename().string());
        std::error_code fdError;
        auto fd = fs::directory_iterator(process / "fd", fdError);
        if (fdError) {
            const std::string name = commandName(process);
            if (std::find(kGrabbers.begin(), kGrabbers.end(), name) != kGrabbers.end()) {
                hidden.push_back({pid, name, false});
            }
            continue;
        }
        for (; !fdError && fd != fs::directory_iterator(); fd.increment(fdError)) {
            std::error_code linkError;
            const fs::path target = fs::read_symlink(fd->path(), linkError);
            if (!linkError && (target == device || target == real)) {
                seen.push_back({pid, commandName(process), true});
                break;
            }
        }
    }
    auto& out = seen.empty() ? hidden : seen;
    std::sort(out.begin(), out.end(),
              [](const DeviceHolder& a, const DeviceHolder& b) { return a.pid < b.pid; });
    return out;
}

bool DeviceHolders::running(std::string_view name) const {
    const auto all = processes(m_root);
    return std::any_of(all.begin(), all.end(),
                       [&](const fs::path& process) { return commandName(process) == name; });
}

}  // namespace orva
