#include "cli/PortChoice.h"

#include <charconv>
#include <cstdlib>

#include "cli/CliFiles.h"
#include "cli/CliTexts.h"
#include "platform/PosixFiles.h"
#include "protocol/Link.h"
#include "serial/ConfigFile.h"

namespace orva::cli {

std::optional<PortChoice> PortChoice::from(const std::string& named, std::string& error,
                                           const std::vector<UsbDevice>& usb, Language language) {
    PortChoice choice;
    choice.argument = named;
    if (named.empty()) {
        PosixFiles files;
        std::string ignored;
        // Only the first bytes of the window's record matter; it is never written from here.
        choice.record =
            files.readPrefix(ConfigFile::kFileName, ConfigFile::kReadBytes, ignored).value_or("");
        CliFiles memory(files, choice.record);
        ConfigFile config(memory, CliFiles::kPortRecord);
        const auto read = config.read(ignored);
        if (read && read->recorded) {
            choice.com = read->port;
            choice.argument = "COM" + std::to_string(choice.com);
            return choice;
        }
        if (usb.size() == 1) {
            return from(usb.front().device, error);
        }
        std::string list;
        for (const UsbDevice& d : usb) {
            list += "\n  " + d.device + (d.description.empty() ? "" : "  " + d.description);
        }
        error = say(usb.empty() ? Msg::NoUsbDevice : Msg::ManyUsbDevices, language,
                    {std::to_string(usb.size())}) +
                list;
        return std::nullopt;
    }
    if (named.size() > 3 && (named.rfind("COM", 0) == 0 || named.rfind("com", 0) == 0)) {
        int n = 0;
        const char* end = named.data() + named.size();
        const auto [ptr, ec] = std::from_chars(named.data() + 3, end, n);
        if (ec != std::errc() || ptr != end || n < 1 || n > Link::kPortCount) {
            error =
                "the ports are COM1 to COM" + std::to_string(Link::kPortCount) + ", not " + named;
            return std::nullopt;
        }
        choice.com = n;
    } else {
        // A device that a COM number already stands for keeps that number, so a saved file
        // names the same port as the window's would.
        for (int n = 1; n <= Link::kPortCount && choice.com == 0; ++n) {
            if (choice.resolver.deviceFor(n) == named) {
                choice.com = n;
            }
        }
        if (choice.com == 0) {
            choice.com = 1;
            choice.resolver = PortResolver(
                [named](const char* name) -> const char* {
                    return std::string(name) == "ORVA_COM1" ? named.c_str() : std::getenv(name);
                },
                [] { return PortResolver().orderedDevices(); });
        }
    }
    choice.record = ConfigFile::encode(choice.com);
    return choice;
}

std::string PortChoice::label() const {
    const std::string device = resolver.deviceFor(com);
    const std::string com_name = "COM" + std::to_string(com);
    return device.empty() ? com_name : com_name + " = " + device;
}

}  // namespace orva::cli
