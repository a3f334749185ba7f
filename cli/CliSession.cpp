#include "cli/CliSession.h"

#include <QEventLoop>
#include <QTimer>

#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "model/ControlIds.h"
#include "platform/DataFolders.h"
#include "window/ResultBoxes.h"

namespace orva::cli {
namespace {

// How often the event loop stops to look at the exchange.
constexpr int kTickMs = 10;

// Bytes as a terminal can show them: control and non-ASCII bytes as \xNN.
std::string printable(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F && c != '\\') {
            out.push_back(c);
        } else {
            out += {'\\', 'x', kHex[b >> 4], kHex[b & 0x0F]};
        }
    }
    return out;
}

}  // namespace

CliSession::CliSession(const CliOptions& options, PortChoice port)
    : m_options(options),
      m_choice(std::move(port)),
      m_files(m_posix, m_choice.record),
      m_qtPort(m_choice.resolver),
      m_port(m_qtPort),
      m_core(m_port, m_clock, m_prompts, m_files, CliFiles::kPortRecord),
      m_stderrTerminal(isatty(2) != 0) {
    m_posix.setLanguage([this] { return m_options.language == Language::English; });
    m_core.onResult([this](const ExchangeResult& result) { m_results.push_back(result); });
    if (m_options.backup) {
        // Unlike the window, a command that cannot keep a backup writes nothing.
        m_core.keepBackupsIn(backupFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")),
                             m_calendar, true);
    }
}

ExitCode CliSession::backupCheck() {
    const ReadbackChain& readback = m_core.readback();
    if (!m_options.backup || (readback.complete() && readback.notRead().empty())) {
        return ExitCode::Done;
    }
    const std::string& codes = readback.notRead();
    error(Msg::NoBackupNotRead, {codes.empty() ? std::string() : "(" + codes + ")"});
    return ExitCode::NoAnswer;
}

ExitCode CliSession::noteBackup() {
    const std::string& backup = m_core.model().notices().get(Notice::Backup);
    if (m_core.backups().stopped()) {
        errorText(backup);
        error(Msg::NoBackupNothingWritten);
        return ExitCode::BadFile;
    }
    if (!m_options.backup) {
        note(Msg::BackupSkipped);
    } else if (!backup.empty()) {
        endProgress();
        if (!m_options.quiet) {
            std::cerr << backup << '\n';
        }
    }
    return ExitCode::Done;
}

ExitCode CliSession::connect() {
    if (m_choice.impossibleStored) {
        note(Msg::ImpossibleStoredPort, {std::to_string(*m_choice.impossibleStored)});
    }
    m_core.initialise();
    // Messages of the core (a refused image, a file that is no saved file) in the chosen language.
    if (m_options.language == Language::English) {
        act(ActionKind::Click, ids::main::kLanguage);
    }
    if (m_core.link().openFailed()) {
        // The cause and its remedy in the chosen language; what the user cannot act on, in the
        // system's words.
        using Failure = CMSComm::OpenFailure;
        const Failure failure = m_port.LastOpenFailure();
        const std::string why = failure == Failure::NoDevice || failure == Failure::Gone
                                    ? say(Msg::NoDevice, m_options.language)
                                : failure == Failure::Permission || failure == Failure::Busy
                                    ? m_core.portStatus().openDiagnosis()
                                    : m_port.LastError();
        error(Msg::PortNotOpened, {m_choice.label(), why});
        return ExitCode::PortNotOpened;
    }
    note(Msg::Reading, {m_choice.label(), std::to_string(m_options.timeoutMs) + " ms"});
    const ExitCode code = exitFor(waitForResult(Exchange::Readback, 0));
    if (m_core.link().streamStopped()) {
        note(Msg::StreamStopped);
    }
    if (code == ExitCode::Done && !m_core.readback().notRead().empty()) {
        note(Msg::NotRead, {m_core.readback().notRead()});
    }
    return code;
}

ExitCode CliSession::readBackAgain() {
    const std::size_t mark = resultMark();
    m_core.readAgain();
    return exitFor(waitForResult(Exchange::Readback, mark));
}

std::optional<ExchangeResult> CliSession::resultSince(Exchange exchange, std::size_t mark) const {
    for (std::size_t i = mark; i < m_results.size(); ++i) {
        if (m_results[i].exchange == exchange) {
            return m_results[i];
        }
    }
    return std::nullopt;
}

ExchangeResult CliSession::waitForResult(Exchange exchange, std::size_t mark,
                                         const std::function<void()>& tick,
                                         const std::function<bool()>& stop) {
    const ExitCode code =
        waitFor([&] { return resultSince(exchange, mark) || (stop && stop()); }, tick);
    if (const auto result = resultSince(exchange, mark)) {
        return *result;
    }
    return code == ExitCode::NoAnswer ? m_core.unanswered(exchange)
                                      : ExchangeResult{.exchange = exchange};
}

ExitCode CliSession::exitFor(const ExchangeResult& result) {
    switch (result.outcome) {
        case Outcome::Done:
            return ExitCode::Done;
        case Outcome::NotAnswering:
        case Outcome::LineLost:
            return ExitCode::NoAnswer;
        case Outcome::Refused:
            break;
    }
    if (const auto box = resultBox(result, m_options.language)) {
        errorText(box->text);
    }
    return result.aboutFile() ? ExitCode::BadFile : ExitCode::Refused;
}

ExitCode CliSession::waitFor(const std::function<bool()>& done, const std::function<void()>& tick) {
    ExitCode result = ExitCode::Done;
    QEventLoop loop;
    QTimer timer;
    auto check = [&] {
        m_core.tick();
        if (tick) {
            tick();
        }
        if (done()) {
            result = ExitCode::Done;
        } else if (!m_core.link().portOpen()) {
            error(Msg::LineLost);
            result = ExitCode::NoAnswer;
        } else if (m_clock.tickMs() - m_core.link().lastProgressMs() >=
                   static_cast<std::uint64_t>(m_options.timeoutMs)) {
            // Time without a whole answer counts, not silence: a controller that streams or
            // babbles is no more answering than a silent one.
            const std::string& heard = m_core.link().heardSinceAnswer();
            error(heard.empty() ? Msg::NoAnswer : Msg::NoWholeAnswer,
                  {m_port.lastCommand(), std::to_string(m_options.timeoutMs), printable(heard)});
            result = ExitCode::NoAnswer;
        } else {
            return false;
        }
        loop.quit();
        return true;
    };
    if (check()) {
        return result;
    }
    QObject::connect(&timer, &QTimer::timeout, &loop, check);
    timer.start(kTickMs);
    loop.exec();
    return result;
}

void CliSession::act(ActionKind kind, ControlKey key, int value) {
    m_core.onUserAction({kind, key, value, {}});
}

std::string CliSession::firmwareText() {
    return m_core.model().text(ids::main::kVersionText);
}

void CliSession::endProgress() {
    if (m_progressShown) {
        std::cerr << '\n';
        m_progressShown = false;
    }
}

void CliSession::progress(const std::string& text) {
    // A pipe or a log file gets the summary line alone, not every update joined by "\r".
    if (!m_options.quiet && m_stderrTerminal) {
        std::cerr << '\r' << text << std::flush;
        m_progressShown = true;
    }
}

void CliSession::note(Msg msg, std::initializer_list<std::string> args) {
    if (!m_options.quiet) {
        endProgress();
        std::cerr << say(msg, m_options.language, args) << '\n';
    }
}

void CliSession::error(Msg msg, std::initializer_list<std::string> args) {
    errorText(say(msg, m_options.language, args));
}

void CliSession::errorText(const std::string& text) {
    endProgress();
    // The window's texts break lines with CR; a terminal wants LF.
    std::string lines = inCliWords(text);
    for (char& c : lines) {
        if (c == '\r') {
            c = '\n';
        }
    }
    std::cerr << "orva-cli: " << lines << '\n';
}

}  // namespace orva::cli
