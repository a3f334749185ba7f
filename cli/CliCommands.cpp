#include "cli/CliCommands.h"

#include <QSerialPortInfo>

#include <algorithm>
#include <charconv>
#include <iostream>
#include <sstream>

#include "cli/CliSession.h"
#include "cli/Interrupts.h"
#include "cli/PortChoice.h"
#include "cli/Report.h"
#include "firmware/FirmwareChooser.h"
#include "model/ControlIds.h"
#include "paramfile/FirmwareConversion.h"
#include "paramfile/ParameterBackups.h"
#include "paramfile/ParameterFiles.h"
#include "paramfile/ParameterSaveFile.h"
#include "paramfile/RestoreChain.h"
#include "platform/PosixFiles.h"
#include "protocol/Frames.h"
#include "window/ResultBoxes.h"

namespace orva::cli {
namespace {

constexpr int kBarWidth = 40;

// The USB serial devices plugged in, as `ports` names them.
std::vector<UsbDevice> usbDevices() {
    std::vector<UsbDevice> out;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        if (info.hasVendorIdentifier()) {
            out.push_back(
                {info.systemLocation().toStdString(),
                 (info.manufacturer() + " " + info.description()).trimmed().toStdString()});
        }
    }
    return out;
}

// A word a shell reads back as it stands.
std::string shellQuoted(const std::string& word) {
    const bool plain = !word.empty() && word.find_first_not_of(
                                            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                            "0123456789_./:=+-@%,") == std::string::npos;
    if (plain) {
        return word;
    }
    std::string out = "'";
    for (char c : word) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

std::optional<int> integer(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end ? std::optional<int>(value) : std::nullopt;
}

std::optional<int> valueOf(const std::vector<std::pair<char, int>>& values, char code) {
    for (const auto& [c, v] : values) {
        if (c == code) {
            return v;
        }
    }
    return std::nullopt;
}

}  // namespace

std::string CliCommands::name(const ParameterEntry& entry) const {
    return m_options.language == Language::English ? entry.english : entry.chinese;
}

void CliCommands::error(const std::string& text) {
    std::cerr << "orva-cli: " << text << '\n';
}

void CliCommands::say(Msg msg, std::initializer_list<std::string> args) {
    error(cli::say(msg, m_options.language, args));
}

bool CliCommands::put(const std::string& text) {
    const bool wasFailed = m_out.failed();
    if (!m_out.write(text) && !wasFailed) {
        say(Msg::OutputFailed, {m_out.error()});
    }
    return !m_out.failed();
}

std::string CliCommands::command(CliSession& session,
                                 std::initializer_list<std::string> args) const {
    std::string out = "orva-cli";
    const std::string& port = session.portChoice().argument;
    if (!port.empty()) {
        out += " --port " + shellQuoted(port);
    }
    for (const std::string& a : args) {
        out += " " + shellQuoted(a);
    }
    return out;
}

ExitCode CliCommands::overwriting(CliSession& session, Exchange exchange, std::size_t mark,
                                  const std::function<void()>& tick,
                                  const std::function<std::string()>& where, ExchangeResult& result,
                                  const std::string& recovery) {
    const Interrupts interrupts;
    bool warned = false;
    bool stopped = false;
    result = session.waitForResult(
        exchange, mark,
        [&] {
            if (tick) {
                tick();
            }
            if (interrupts.presses() == 1 && !warned) {
                warned = true;
                session.error(Msg::HalfWritten, {where()});
            }
        },
        [&] {
            stopped = interrupts.terminated() || interrupts.presses() >= 2;
            return stopped;
        });
    if (!stopped) {
        return session.exitFor(result);
    }
    session.error(Msg::Stopped, {where()});
    if (!recovery.empty()) {
        session.error(Msg::FinishUpgrade, {recovery});
    }
    const std::string& backup = session.core().backups().lastPath();
    if (backup.empty()) {
        session.error(Msg::NoBackupKept);
    } else {
        session.error(Msg::PutBackupBack, {command(session, {"restore", backup})});
    }
    return ExitCode::Interrupted;
}

ExitCode CliCommands::run() {
    const ExitCode code = runCommand();
    // A result that did not reach stdout is a failure, whatever the controller did.
    return m_out.failed() ? ExitCode::OutputFailed : code;
}

ExitCode CliCommands::runCommand() {
    const std::vector<std::string>& a = m_options.args;
    std::optional<RestoreEntries> left;
    int number = 0;
    char code = 0;
    // Operands are checked before the port is opened: bad input sends nothing.
    switch (m_options.command) {
        case Command::Ports:
            return ports();
        case Command::Restore:
        case Command::Diff:
            left = readSaveFile(a[0]);
            if (!left) {
                return ExitCode::BadFile;
            }
            if (a.size() == 2) {
                const auto right = readSaveFile(a[1]);
                if (!right) {
                    return ExitCode::BadFile;
                }
                const FileValues rightValues = valuesOf(*right);
                return diff(nullptr, valuesOf(*left), &rightValues);
            }
            break;
        case Command::Default: {
            const auto set = integer(a[0]);
            if (!set || *set < 0 || *set >= ParameterFiles::kDefaultSetCount) {
                say(Msg::BadDefaultSet, {a[0]});
                return ExitCode::Usage;
            }
            number = *set;
            break;
        }
        case Command::Get:
        case Command::Set: {
            if (a[0].size() != 1 ||
                ParameterRow::readableCodes().find(a[0][0]) == std::string::npos) {
                say(Msg::UnknownCode, {a[0]});
                return ExitCode::Usage;
            }
            code = a[0][0];
            if (m_options.command == Command::Get) {
                break;
            }
            const ParameterEntry& entry = ParameterCatalogue::at(code);
            if (entry.encoding == Encoding::ReadOnly) {
                say(Msg::ReadOnlyCode, {a[0], name(entry)});
                return ExitCode::Usage;
            }
            const auto shown = integer(a[1]);
            if (!shown) {
                say(Msg::NotANumber, {a[1]});
                return ExitCode::Usage;
            }
            if (!ParameterCatalogue::fromShown(entry, *shown)) {
                say(Msg::OutOfRange, {a[0], name(entry), a[1], std::to_string(entry.uiMin),
                                      std::to_string(entry.uiMax)});
                return ExitCode::Usage;
            }
            number = *shown;
            break;
        }
        case Command::Flash: {
            // The window's own chooser decides, on a model nobody sees, before anything is sent.
            WindowModel model;
            CliPrompts prompts;
            PosixFiles files([this] { return m_options.language == Language::English; });
            LanguageFlag language;
            language.set(m_options.language);
            FirmwareImage image;
            prompts.setFile(a[0]);
            FirmwareChooser chooser(model, prompts, files, language, image);
            chooser.setResultSink([this](const ExchangeResult& result) {
                if (const auto box = resultBox(result, m_options.language)) {
                    error(box->text);
                }
            });
            if (!chooser.choose()) {
                return ExitCode::BadFile;
            }
            break;
        }
        default:
            break;
    }

    std::string portError;
    auto choice = PortChoice::from(m_options.port, portError,
                                   m_options.port.empty() ? usbDevices() : std::vector<UsbDevice>{},
                                   m_options.language);
    if (!choice) {
        error(portError);
        return ExitCode::Usage;
    }
    CliSession session(m_options, std::move(*choice));
    if (const ExitCode connected = session.connect(); connected != ExitCode::Done) {
        return connected;
    }
    switch (m_options.command) {
        case Command::Read:
            return read(session);
        case Command::Save:
            return save(session);
        case Command::Restore:
            return restore(session, *left);
        case Command::Diff:
            return diff(&session, forController(session, *left, a[0]), nullptr);
        case Command::Default:
            return loadDefault(session, number);
        case Command::Get:
            return get(session, code);
        case Command::Set:
            return set(session, code, number);
        case Command::Monitor:
            return monitor(session);
        case Command::Flash:
            return flash(session);
        case Command::Ports:
            break;
    }
    return ExitCode::Done;
}

ExitCode CliCommands::ports() {
    const PortResolver resolver;
    const auto infos = QSerialPortInfo::availablePorts();
    bool any = false;
    for (int com = 1; com <= Link::kPortCount; ++com) {
        const std::string device = resolver.deviceFor(com);
        if (device.empty()) {
            continue;
        }
        std::string description;
        for (const QSerialPortInfo& info : infos) {
            if (info.systemLocation().toStdString() == device) {
                description =
                    (info.manufacturer() + " " + info.description()).trimmed().toStdString();
            }
        }
        std::ostringstream line;
        report::port(line, com, device, description, m_options.json);
        if (!put(line.str())) {
            return ExitCode::OutputFailed;
        }
        any = true;
    }
    if (!any && !m_options.quiet) {
        std::cerr << cli::say(Msg::NoPorts, m_options.language) << '\n';
    }
    return ExitCode::Done;
}

ExitCode CliCommands::read(CliSession& session) {
    std::vector<ParameterRow> rows;
    const ReadbackChain& readback = session.core().readback();
    for (char code : ParameterRow::readableCodes()) {
        rows.push_back(
            ParameterRow::of(code, readback.wireValue(code), readback.firmwareVersion()));
    }
    std::ostringstream out;
    report::parameters(out, session.firmwareText(), rows, m_options.json);
    put(out.str());
    return ExitCode::Done;
}

ExitCode CliCommands::save(CliSession& session) {
    // A file of values never read would pass for the controller's settings.
    const ReadbackChain& readback = session.core().readback();
    if (!readback.complete() || !readback.notRead().empty()) {
        const std::string& codes = readback.notRead();
        session.error(Msg::SaveNotRead, {codes.empty() ? std::string() : "(" + codes + ")"});
        return ExitCode::NoAnswer;
    }
    session.prompts().setFile(m_options.args[0]);
    const std::size_t mark = session.resultMark();
    session.act(ActionKind::Click, ids::main::kSaveData);
    if (const auto result = session.resultSince(Exchange::Save, mark)) {
        if (const ExitCode code = session.exitFor(*result); code != ExitCode::Done) {
            return code;
        }
    }
    if (m_options.args[0] == CliFiles::kStandard) {
        put(session.files().takeStandardOutput());
        return ExitCode::Done;
    }
    session.note(Msg::Saved, {m_options.args[0]});
    return ExitCode::Done;
}

std::optional<RestoreEntries> CliCommands::readSaveFile(const std::string& path) {
    PosixFiles files([this] { return m_options.language == Language::English; });
    std::string problem;
    const auto bytes = path == CliFiles::kStandard
                           ? CliFiles::standardInput(ParameterFiles::kMaxReadBytes, problem)
                           : files.readPrefix(path, ParameterFiles::kMaxReadBytes, problem);
    if (!bytes || !problem.empty()) {
        say(Msg::FileUnreadable, {problem.empty() ? path : problem});
        return std::nullopt;
    }
    if (const auto line = ParameterSaveFile::firstForeignLine(*bytes)) {
        say(Msg::ForeignLine, {path, std::to_string(*line)});
        return std::nullopt;
    }
    RestoreEntries entries;
    entries.readFrom(*bytes);
    return entries;
}

CliCommands::FileValues CliCommands::valuesOf(const RestoreEntries& entries) {
    return RestoreChain::values(entries);
}

CliCommands::FileValues CliCommands::forController(CliSession& session, RestoreEntries entries,
                                                   const std::string& path) {
    const auto savedOn =
        m_options.savedOn ? m_options.savedOn : ParameterBackups::versionInName(path);
    if (savedOn) {
        const int target = session.core().readback().firmwareVersion();
        const std::string codes = FirmwareConversion::convert(entries, *savedOn, target);
        if (!codes.empty()) {
            session.note(Msg::Converted,
                         {frames::digits4(*savedOn), frames::digits4(target), codes});
        }
    }
    return valuesOf(entries);
}

std::vector<Difference> CliCommands::against(CliSession& session, const FileValues& file) {
    const ReadbackChain& readback = session.core().readback();
    const int version = readback.firmwareVersion();
    std::vector<Difference> out;
    for (const auto& [code, value] : file) {
        const auto current = readback.wireValue(code);
        if (current != value) {
            out.push_back(
                {ParameterRow::of(code, current, version), ParameterRow::of(code, value, version)});
        }
    }
    return out;
}

ExitCode CliCommands::diff(CliSession* session, const FileValues& left, const FileValues* right) {
    std::vector<Difference> rows;
    if (session != nullptr) {
        rows = against(*session, left);
    } else {
        // Two files: shown as firmware the window has not read yet would show them.
        for (const auto& [code, value] : left) {
            const auto other = valueOf(*right, code);
            if (other != value) {
                rows.push_back(
                    {ParameterRow::of(code, value, 0), ParameterRow::of(code, other, 0)});
            }
        }
    }
    std::ostringstream out;
    report::differences(out, rows, m_options.json);
    put(out.str());
    if (rows.empty() && !m_options.quiet) {
        std::cerr << cli::say(Msg::NoDifference, m_options.language) << '\n';
    }
    return ExitCode::Done;
}

ExitCode CliCommands::restore(CliSession& session, const RestoreEntries& entries) {
    const std::string& path = m_options.args[0];
    const FileValues file = forController(session, entries, path);
    diff(&session, file, nullptr);
    if (m_options.dryRun) {
        session.note(Msg::DryRun);
        return ExitCode::Done;
    }
    const ExitCode code = writeFile(session, path, file);
    if (code == ExitCode::Done) {
        session.note(Msg::Restored, {path});
    }
    return code;
}

ExitCode CliCommands::writeFile(CliSession& session, const std::string& path,
                                const FileValues& file) {
    if (const ExitCode code = session.backupCheck(); code != ExitCode::Done) {
        return code;
    }
    // The announcement, then one command per link.
    const int total = static_cast<int>(file.size()) + 1;
    const int before = session.port().writesStartingWith('S');
    session.prompts().setFile(path);
    session.core().paramFiles().setSavedOn(m_options.savedOn);
    const std::size_t mark = session.resultMark();
    session.act(ActionKind::Select, ids::main::kRestoreChoice, ParameterFiles::kFileChoice);
    if (const ExitCode code = session.noteBackup(); code != ExitCode::Done) {
        return code;
    }
    int shown = -1;
    const auto sent = [&] { return session.port().writesStartingWith('S') - before; };
    ExchangeResult result;
    const ExitCode code = overwriting(
        session, Exchange::Restore, mark,
        [&] {
            if (sent() != shown) {
                shown = sent();
                session.progress(cli::say(Msg::RestoreProgress, m_options.language,
                                          {std::to_string(shown), std::to_string(total)}));
            }
        },
        [&] {
            return cli::say(Msg::RestoreWhere, m_options.language,
                            {std::to_string(sent()), std::to_string(total)});
        },
        result);
    if (result.refusal == Refusal::NotKept) {
        notTaken(session, result.detail, file);
    }
    return code;
}

void CliCommands::notTaken(CliSession& session, const std::string& codes, const FileValues& sent) {
    const ReadbackChain& readback = session.core().readback();
    for (char code : codes) {
        const auto now = readback.wireValue(code);
        session.error(Msg::NotTaken, {std::string(1, code) + " = " +
                                          std::to_string(valueOf(sent, code).value_or(0)),
                                      now ? std::to_string(*now) : "-"});
    }
}

ExitCode CliCommands::loadDefault(CliSession& session, int set) {
    if (const ExitCode code = session.backupCheck(); code != ExitCode::Done) {
        return code;
    }
    const std::size_t mark = session.resultMark();
    session.act(ActionKind::Select, ids::main::kRestoreChoice, set);
    if (const ExitCode code = session.noteBackup(); code != ExitCode::Done) {
        return code;
    }
    ExchangeResult result;
    const ExitCode code = overwriting(
        session, Exchange::DefaultSet, mark, {},
        [&] { return cli::say(Msg::DefaultWhere, m_options.language, {std::to_string(set)}); },
        result);
    if (code != ExitCode::Done) {
        return code;
    }
    session.note(Msg::DefaultLoaded, {std::to_string(set)});
    return read(session);
}

ExitCode CliCommands::get(CliSession& session, char code) {
    const ReadbackChain& readback = session.core().readback();
    const ParameterRow row =
        ParameterRow::of(code, readback.wireValue(code), readback.firmwareVersion());
    std::ostringstream out;
    if (m_options.json) {
        report::parameters(out, session.firmwareText(), {row}, true);
    } else {
        out << (row.shown ? std::to_string(*row.shown) : "-") << '\n';
    }
    put(out.str());
    return ExitCode::Done;
}

ExitCode CliCommands::set(CliSession& session, char code, int shown) {
    // The window's own action for the new state, then everything read back.
    const std::size_t mark = session.resultMark();
    const auto wire = session.core().writeSetting(code, shown);
    if (!wire) {
        say(Msg::ReadOnlyCode, {std::string(1, code), name(ParameterCatalogue::at(code))});
        return ExitCode::Usage;
    }
    const ExchangeResult result = session.waitForResult(Exchange::Set, mark);
    if (result.refusal == Refusal::NotKept) {
        notTaken(session, result.detail, {{code, *wire}});
    }
    if (const ExitCode exit = session.exitFor(result); exit != ExitCode::Done) {
        return exit;
    }
    session.note(Msg::SetDone, {std::string(1, code), std::to_string(shown)});
    return ExitCode::Done;
}

ExitCode CliCommands::monitor(CliSession& session) {
    LiveMonitor& live = session.core().monitor();
    int frames = 0;
    FramesSeen seen;
    live.setFrameListener([&](monitor_frames::FrameKind kind) {
        seen.add(kind);
        std::ostringstream line;
        report::monitorFrame(line, live.values(), seen, m_options.json);
        if (put(line.str())) {
            ++frames;
        }
    });
    ExitCode code = ExitCode::Done;
    {
        // Whatever ends the stream, the stop command goes out before orva-cli does.
        const Interrupts interrupts;
        session.act(ActionKind::Click, ids::custom::kDataDisplay);
        code = session.waitFor([&] {
            return interrupts.any() || m_out.failed() ||
                   (m_options.count > 0 && frames >= m_options.count);
        });
        if (live.running()) {
            session.act(ActionKind::Click, ids::custom::kDataDisplay);
        }
    }
    live.setFrameListener({});
    session.note(Msg::MonitorStopped, {std::to_string(frames)});
    return code;
}

ExitCode CliCommands::flash(CliSession& session) {
    session.prompts().setFile(m_options.args[0]);
    std::size_t mark = session.resultMark();
    session.act(ActionKind::Click, ids::main::kChooseFirmware);
    if (const auto chosen = session.resultSince(Exchange::FirmwareChoice, mark);
        !chosen || chosen->outcome != Outcome::Done) {
        return chosen ? session.exitFor(*chosen) : ExitCode::BadFile;
    }
    if (const ExitCode code = session.backupCheck(); code != ExitCode::Done) {
        return code;
    }
    const ReadbackChain& readback = session.core().readback();
    const int versionBefore = readback.firmwareVersion();
    std::vector<std::optional<int>> wireBefore;
    for (int c = 0; c < 128; ++c) {
        wireBefore.push_back(readback.wireValue(static_cast<char>(c)));
    }
    mark = session.resultMark();
    session.act(ActionKind::Click, ids::main::kUpgrade);
    if (const ExitCode code = session.noteBackup(); code != ExitCode::Done) {
        return code;
    }
    const UpgradeTransfer& transfer = session.core().firmware().transfer();
    int shown = -1;
    ExchangeResult result;
    ExitCode code = overwriting(
        session, Exchange::Upgrade, mark,
        [&] {
            // The bar's position is a block number; the percent runs past 100 after the end packet.
            const int percent = std::min(100, transfer.percent());
            if (percent != shown && transfer.block() > 0) {
                shown = percent;
                const int filled = percent * kBarWidth / 100;
                session.progress(
                    cli::say(Msg::UpgradeProgress, m_options.language,
                             {std::to_string(percent),
                              std::string(filled, '#') + std::string(kBarWidth - filled, ' ')}));
            }
        },
        [&] {
            return cli::say(Msg::FlashWhere, m_options.language,
                            {std::to_string(transfer.block()),
                             std::to_string(session.core().firmware().image().blockCount() + 2),
                             std::to_string(std::clamp(transfer.percent(), 0, 100))});
        },
        result, command(session, {"--no-backup", "flash", m_options.args[0]}));
    if (code == ExitCode::Done) {
        // The upgrade ends with the read-back of the new firmware's settings.
        code = session.exitFor(session.waitForResult(Exchange::Readback, mark));
    }
    if (code != ExitCode::Done) {
        return code;
    }
    session.note(Msg::Upgraded, {session.firmwareText()});
    return m_options.keepSettings ? keepSettings(session, wireBefore, versionBefore)
                                  : ExitCode::Done;
}

ExitCode CliCommands::keepSettings(CliSession& session, const std::vector<std::optional<int>>& wire,
                                   int version) {
    const std::string backup = session.core().backups().lastPath();
    const auto entries = readSaveFile(backup);
    if (!entries) {
        return ExitCode::BadFile;
    }
    const FileValues file = forController(session, *entries, backup);
    const ExitCode code = writeFile(session, backup, file);
    if (code != ExitCode::Done && code != ExitCode::Refused) {
        return code;
    }
    // Every setting the backup carries, as the window showed it before and shows it now.
    const ReadbackChain& readback = session.core().readback();
    std::vector<Difference> changed;
    for (const auto& [c, value] : file) {
        ParameterRow before = ParameterRow::of(c, wire[static_cast<unsigned char>(c)], version);
        ParameterRow now = ParameterRow::of(c, readback.wireValue(c), readback.firmwareVersion());
        if (before.shown != now.shown || !now.shown) {
            changed.push_back({std::move(before), std::move(now)});
        }
    }
    if (!changed.empty()) {
        std::ostringstream out;
        report::differences(out, changed, m_options.json);
        put(out.str());
        session.error(Msg::SettingsChanged, {std::to_string(changed.size())});
        return ExitCode::Refused;
    }
    session.note(Msg::SettingsKept);
    return code;
}

}  // namespace orva::cli
