#include "sim/SimCommandLine.h"

#include <QCommandLineParser>

#include <algorithm>
#include <charconv>
#include <functional>
#include <string_view>

#include "protocol/Frames.h"

namespace orva::sim {
namespace {

struct Option {
    std::string_view name;
    std::string_view argument;  // empty for a flag
    std::string_view help;
};

constexpr Option kOptions[] = {
    {"link", "PATH", "also make a symbolic link PATH to the slave device"},
    {"firmware", "N", "firmware version answered to ?V (default 1220)"},
    {"upgrade-to", "N", "firmware version reported after a confirmed upgrade (default: unchanged)"},
    {"tag", "QDMC|QDEC", "firmware tag of the upgrade loader (default QDMC)"},
    {"default-set", "N", "default parameter set held at power-on, 0..3 (default 1)"},
    {"stream-interval", "MS", "milliseconds between two monitor frames (default 40)"},
    {"command-time", "US", "microseconds spent on each command before answering (default 2000)"},
    {"image", "PATH", "write each firmware image the loader receives to PATH"},
    {"log", "PATH", "log every frame received and sent, with time stamps"},
    {"wire-timing", "", "pace every byte as 115200 baud 8N1 would (about 87 us a byte)"},
    {"answer-timing", "",
     "write each answer at once after the wire time of its bytes, as a USB adapter does"},
    {"silent", "CODES", "never answer commands of these codes (e.g. CA)"},
    {"keep-not", "CODES", "acknowledge set commands of these codes but keep the old value"},
    {"drop-every", "N", "drop every Nth answer"},
    {"corrupt-every", "N", "invert one byte of every Nth answer"},
    {"corrupt-byte", "I", "index of the byte corrupted (default 4)"},
    {"split", "", "cut every write into random pieces"},
    {"split-gap", "US", "microseconds between two pieces (default 1000)"},
    {"join-every", "N",
     "hold every Nth answer back and send it with the next (alone after the join window)"},
    {"join-window", "MS",
     "write answers that leave within MS ms in one write, as a USB adapter joins the answers to "
     "commands sent back to back (default 0: off; 16 for --join-every)"},
    {"late-line-end", "MS", "send each answer's line end MS ms after the rest (default 0: off)"},
    {"stall-packet", "N", "cut the answer to the Nth upgrade packet in the middle"},
    {"stall-time", "MS", "send the rest of it after MS milliseconds (default 0: never)"},
    {"close-after", "N", "close the line after N bytes have been sent"},
    {"seed", "N", "seed of the random piece sizes (default 1)"},
    {"help", "", "show this text (also -h)"},
    {"version", "", "show the version"},
};

bool toNumber(const std::string& text, long& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc{} && ptr == end;
}

}  // namespace

SimCommandLine::Result SimCommandLine::parse(const std::vector<std::string>& arguments) {
    Result result;
    // The same parser as orva's and orva-cli's, so --opt=value, -- and -h behave alike.
    QCommandLineParser parser;
    for (const Option& option : kOptions) {
        QStringList names{QString::fromUtf8(option.name.data(), option.name.size())};
        if (option.name == "help") {
            names.prepend("h");
        }
        parser.addOption(QCommandLineOption(
            names, {}, QString::fromUtf8(option.argument.data(), option.argument.size())));
    }
    QStringList words{"kivrel-sim"};
    for (const std::string& a : arguments) {
        words << QString::fromStdString(a);
    }
    if (!parser.parse(words)) {
        result.error = parser.errorText().toStdString();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.error =
            "Unexpected argument '" + parser.positionalArguments().front().toStdString() + "'.";
        return result;
    }
    for (const Option& option : kOptions) {
        const QString key = QString::fromUtf8(option.name.data(), option.name.size());
        if (result.error.empty() && parser.isSet(key)) {
            apply(option.name, parser.value(key).toStdString(), result);
        }
    }
    return result;
}

void SimCommandLine::apply(std::string_view option, const std::string& text, Result& result) {
    SimOptions& o = result.options;
    const std::string name = "--" + std::string(option);
    long number = 0;
    // Numeric options: the range each accepts.
    auto numeric = [&](long low, long high) {
        if (!toNumber(text, number) || number < low || number > high) {
            result.error = name + " takes a number from " + std::to_string(low) + " to " +
                           std::to_string(high) + ", not \"" + text + "\"";
            return false;
        }
        return true;
    };
    constexpr long kMaxCount = 1'000'000'000L;
    if (name == "--help") {
        result.help = true;
    } else if (name == "--version") {
        result.version = true;
    } else if (name == "--link") {
        o.linkPath = text;
    } else if (name == "--image") {
        o.imagePath = text;
    } else if (name == "--log") {
        o.logPath = text;
    } else if (name == "--silent") {
        o.controller.silentCodes = text;
    } else if (name == "--keep-not") {
        o.controller.unkeptCodes = text;
    } else if (name == "--tag") {
        if (text != frames::kTagQdmc && text != frames::kTagQdec) {
            result.error = "--tag takes QDMC or QDEC, not \"" + text + "\"";
        }
        o.controller.tag = text;
    } else if (name == "--wire-timing") {
        o.wireTiming = WireTiming::PerByte;
    } else if (name == "--answer-timing") {
        o.wireTiming = WireTiming::PerAnswer;
    } else if (name == "--split") {
        o.faults.split = true;
    } else if (name == "--firmware" && numeric(0, 9999)) {
        o.controller.firmwareVersion = static_cast<int>(number);
    } else if (name == "--upgrade-to" && numeric(1, 9999)) {
        o.controller.upgradeTo = static_cast<int>(number);
    } else if (name == "--default-set" && numeric(0, 3)) {
        o.controller.powerOnSet = static_cast<int>(number);
    } else if (name == "--command-time" && numeric(0, 10'000'000)) {
        o.commandTime = std::chrono::microseconds{number};
    } else if (name == "--stream-interval" && numeric(1, 60000)) {
        o.streamInterval = std::chrono::milliseconds{number};
    } else if (name == "--drop-every" && numeric(0, kMaxCount)) {
        o.faults.dropEvery = static_cast<int>(number);
    } else if (name == "--corrupt-every" && numeric(0, kMaxCount)) {
        o.faults.corruptEvery = static_cast<int>(number);
    } else if (name == "--corrupt-byte" && numeric(0, 63)) {
        o.faults.corruptByte = static_cast<std::size_t>(number);
    } else if (name == "--split-gap" && numeric(0, 10'000'000)) {
        o.faults.splitGap = std::chrono::microseconds{number};
    } else if (name == "--join-window" && numeric(0, 60000)) {
        o.faults.joinWindow = std::chrono::milliseconds{number};
    } else if (name == "--late-line-end" && numeric(0, 60000)) {
        o.faults.lateLineEnd = std::chrono::milliseconds{number};
    } else if (name == "--join-every" && numeric(0, kMaxCount)) {
        o.faults.joinEvery = static_cast<int>(number);
    } else if (name == "--stall-packet" && numeric(0, kMaxCount)) {
        o.faults.stallPacket = static_cast<int>(number);
    } else if (name == "--stall-time" && numeric(0, 3'600'000)) {
        o.faults.stallTime = std::chrono::milliseconds{number};
    } else if (name == "--close-after" && numeric(0, kMaxCount)) {
        o.faults.closeAfter = number;
    } else if (name == "--seed" && numeric(0, 4'294'967'295L)) {
        o.faults.seed = static_cast<unsigned>(number);
    }
}

std::string SimCommandLine::usage(const std::string& program) {
    std::string out = "Usage: " + program + " [options]\n" +
                      "A simulated Kivrel flight controller on a pseudo-terminal. The first line "
                      "printed is the slave\ndevice to open as the serial port; "
                      "SIGINT or SIGTERM ends it.\n\nOptions:\n";
    for (const Option& option : kOptions) {
        std::string left = "  --" + std::string(option.name);
        if (!option.argument.empty()) {
            left += " " + std::string(option.argument);
        }
        left.resize(std::max<std::size_t>(left.size() + 2, 28), ' ');
        out += left + std::string(option.help) + "\n";
    }
    return out;
}

}  // namespace orva::sim
