#include "sim/ControllerModel.h"

#include <cctype>

#include "protocol/Frames.h"
#include "sim/CraftMotion.h"
#include "sim/DefaultSets.h"

namespace orva::sim {
namespace {

// Longest line kept while waiting for CR; older bytes cannot belong to a command.
constexpr std::size_t kMaxLine = 32;
constexpr std::size_t kMaxSetDigits = 4;
// Settings the controller reports but does not take from a set command.
constexpr std::string_view kReadOnlyCodes = "VHI";
constexpr std::string_view kUpgradePrefix = "UP";
constexpr char kReplySeparator = '=';
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kKindTextHead = "HALVANE KIVREL ";
constexpr int kDefaultSetFromFile = 4;
// The parameters new firmware starts from.
constexpr int kFirmwareFirstSet = 0;

// Values a controller fresh from the factory reports besides its default set.
struct PowerOn {
    char code;
    int value;
};
constexpr PowerOn kPowerOn[] = {
    {'H', 102},  {'I', 33},                              // hardware revision, sensor board
    {'Q', 180},                                          // no magnetic declination
    {'4', 3950}, {'5', 3940}, {'6', 3960}, {'7', 3930},  // cell voltages
    {'k', 4},    {'l', 650},  {'m', 650},                // custom frame: 4 axes
    {'n', 5300}, {'o', 5300}, {'p', 4700}, {'q', 5300},  // motors 1, 2
    {'r', 4700}, {'s', 4700}, {'t', 5300}, {'u', 4700},  // motors 3, 4
    {'v', 5000}, {'w', 5400}, {'x', 5000}, {'y', 4600},  // motors 5, 6
    {'z', 10},                                           // motors 2 and 4 turn in reverse
};

std::size_t index(char code) {
    return static_cast<unsigned char>(code) & 0x7F;
}

}  // namespace

struct ControllerModel::Command {
    enum class Kind { Query, Set, Upgrade };
    Kind kind;
    char code = 0;
    int value = 0;
    std::string_view tag;
    std::string_view text;
};

ControllerModel::ControllerModel(ControllerOptions options) : m_options(std::move(options)) {
    m_values[index('V')] = m_options.firmwareVersion;
    for (const PowerOn& entry : kPowerOn) {
        m_values[index(entry.code)] = entry.value;
    }
    loadDefaultSet(m_options.powerOnSet);
}

std::optional<int> ControllerModel::value(char code) const {
    return m_values[index(code)];
}

std::string ControllerModel::kindText() const {
    return std::string(kKindTextHead) + m_options.tag + frames::digits4(m_options.firmwareVersion);
}

bool ControllerModel::silent(char code) const {
    return m_options.silentCodes.find(code) != std::string::npos;
}

void ControllerModel::notify(std::string_view frame, bool understood) {
    if (m_listener) {
        m_listener(frame, understood);
    }
}

void ControllerModel::loadDefaultSet(int set) {
    for (const auto& [code, wire] : DefaultSets::wireValues(set, m_options.firmwareVersion)) {
        m_values[index(code)] = wire;
    }
    if (set >= 0 && set < DefaultSets::kCount) {
        m_values[index(frames::kDefaultSetCode)] = set;
    }
}

// The calibration commands carry the voltage at each tap of the pack; each cell reads as the
// difference to the tap below it, in tenths of the unit the command uses.
void ControllerModel::calibrate(char code, int tap) {
    const auto cell = static_cast<std::size_t>(code - frames::kCalibrationCodes[0]);
    m_taps[cell] = tap;
    const int below = cell == 0 ? 0 : m_taps[cell - 1];
    const int reading = (tap - below) * 10;
    if (reading > 0 && reading < 10000) {
        m_values[index(static_cast<char>('4' + cell))] = reading;
    }
}

std::optional<ControllerModel::Command> ControllerModel::parse(std::string_view line) {
    // Bytes before a command (a half frame, noise) are skipped: the first suffix that is a whole
    // command wins.
    for (std::size_t start = 0; start < line.size(); ++start) {
        const std::string_view text = line.substr(start);
        if (text.size() == 2 && text[0] == '?') {
            return Command{Command::Kind::Query, text[1], 0, {}, text};
        }
        if (text.size() >= 3 && text.size() <= 2 + kMaxSetDigits && text[0] == 'S') {
            int value = 0;
            bool digits = true;
            for (char c : text.substr(2)) {
                digits = digits && std::isdigit(static_cast<unsigned char>(c));
                value = value * 10 + (c - '0');
            }
            if (digits) {
                return Command{Command::Kind::Set, text[1], value, {}, text};
            }
        }
        if (text.size() == kUpgradePrefix.size() + 4 && text.substr(0, 2) == kUpgradePrefix) {
            return Command{Command::Kind::Upgrade, 0, 0, text.substr(2), text};
        }
    }
    return std::nullopt;
}

std::vector<Outgoing> ControllerModel::receive(std::string_view bytes) {
    std::vector<Outgoing> out;
    for (char byte : bytes) {
        if (m_loader.active()) {
            loaderByte(byte, out);
        } else if (byte == frames::kCr) {
            handleLine(out);
        } else {
            appendToLine(byte);
        }
    }
    return out;
}

void ControllerModel::appendToLine(char byte) {
    m_line.push_back(byte);
    if (m_line.size() > kMaxLine) {
        m_line.erase(0, m_line.size() - kMaxLine);
    }
}

void ControllerModel::loaderByte(char byte, std::vector<Outgoing>& out) {
    const auto b = static_cast<unsigned char>(byte);
    if (m_loader.betweenPackets() && !UpgradeLoader::isPacketType(b)) {
        // No packet opens with this byte; it may belong to a command of the ASCII language,
        // which abandons the transfer.
        if (byte != frames::kCr) {
            appendToLine(byte);
            return;
        }
        if (parse(m_line)) {
            m_loader.leave();
            handleLine(out);
        } else {
            notify(m_line + frames::kCr, false);
            m_line.clear();
        }
        return;
    }
    if (m_loader.betweenPackets()) {
        m_line.clear();
    }
    m_packet.push_back(byte);
    if (auto answer = m_loader.feed(b)) {
        notify(m_packet, true);
        m_packet.clear();
        out.push_back({Outgoing::Kind::LoaderAnswer, std::move(*answer)});
        // Only the confirm packet takes the loader back to the command language.
        if (!m_loader.active() && m_options.upgradeTo > 0) {
            m_options.firmwareVersion = m_options.upgradeTo;
            m_values[index('V')] = m_options.firmwareVersion;
            loadDefaultSet(kFirmwareFirstSet);
        }
    }
}

void ControllerModel::handleLine(std::vector<Outgoing>& out) {
    std::string line = std::move(m_line);
    m_line.clear();
    const auto command = parse(line);
    if (!command) {
        notify(line + frames::kCr, false);
        return;
    }
    const std::size_t skipped = line.size() - command->text.size();
    if (skipped > 0) {
        notify(std::string_view(line).substr(0, skipped), false);
    }
    const bool understood = handleCommand(*command, out);
    notify(std::string(command->text) + frames::kCr, understood);
}

bool ControllerModel::handleCommand(const Command& command, std::vector<Outgoing>& out) {
    switch (command.kind) {
        case Command::Kind::Query: {
            std::string reply;
            if (command.code == frames::kUpgradeKindCode) {
                reply = kindText();
            } else if (frames::readBackCode(command.code)) {
                const int v = m_values[index(command.code)].value_or(0);
                reply = frames::query(command.code) + kReplySeparator + frames::digits4(v) +
                        std::string(kLineEnd);
            } else {
                return false;
            }
            if (!silent(command.code)) {
                out.push_back({Outgoing::Kind::Reply, std::move(reply)});
            }
            return true;
        }
        case Command::Kind::Set:
            return handleSet(command.code, command.value, out);
        case Command::Kind::Upgrade: {
            if (command.tag != m_options.tag) {
                return false;
            }
            m_loader.enter();
            m_streaming = false;
            const std::string_view word =
                command.tag == frames::kTagQdec ? frames::kReadyQdec : frames::kReadyQdmc;
            out.push_back({Outgoing::Kind::Reply, std::string(word) + std::string(kLineEnd)});
            return true;
        }
    }
    return false;
}

bool ControllerModel::handleSet(char code, int value, std::vector<Outgoing>& out) {
    if (code == frames::kMonitorCode) {
        if (value == 0 || value == 1) {
            m_streaming = value == 1;
        }
    } else if (code == frames::kDefaultSetCode) {
        // Sets 0 to 3 load; 4 announces a restore from a file and loads nothing.
        loadDefaultSet(value);
        m_values[index(code)] = value;
    } else if (frames::kCalibrationCodes.find(code) != std::string_view::npos) {
        calibrate(code, value);
    } else if (!frames::readBackCode(code)) {
        return false;  // no such parameter: no acknowledgement
    } else if (kReadOnlyCodes.find(code) == std::string_view::npos &&
               m_options.unkeptCodes.find(code) == std::string::npos) {
        m_values[index(code)] = value;
    }
    if (!silent(code)) {
        std::string ack = frames::set(code, value);
        ack.push_back('\n');
        out.push_back({Outgoing::Kind::Reply, std::move(ack)});
    }
    return true;
}

Outgoing ControllerModel::monitorFrame(double seconds) {
    const int kind = m_nextMonitor;
    m_nextMonitor = (m_nextMonitor + 1) % 3;
    Outgoing frame{Outgoing::Kind::Monitor, {}};
    switch (kind) {
        case 0:
            frame.bytes = CraftMotion::channelsFrame(
                CraftMotion::reversed(CraftMotion::receiver(seconds), value('N').value_or(0)));
            break;
        case 1:
            frame.bytes = CraftMotion::outputsFrame(CraftMotion::reversed(
                CraftMotion::outputs(seconds, value('A').value_or(0), value('k').value_or(4)),
                value('O').value_or(0)));
            break;
        default:
            frame.bytes = CraftMotion::sensorsFrame(CraftMotion::sensors(seconds));
            break;
    }
    return frame;
}

std::optional<std::vector<std::uint8_t>> ControllerModel::takeCompletedImage() {
    return m_loader.takeCompletedImage();
}

}  // namespace orva::sim
