#include "paramfile/ParameterBackups.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

#include "model/ControlIds.h"
#include "paramfile/ParameterSaveFile.h"

namespace orva {
namespace {

// "2026-12-06_14-03-59_fw1220.txt": names sort as their times do. A second backup within the
// same second gets "_2" and so on before the suffix.
constexpr std::string_view kNameShape = "####-##-##_##-##-##_fw";
constexpr std::string_view kSuffix = ".txt";

constexpr std::size_t kVersionDigits = 4;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBackupName(std::string_view name) {
    if (name.size() < kNameShape.size() + kVersionDigits + kSuffix.size() ||
        !name.ends_with(kSuffix)) {
        return false;
    }
    for (std::size_t i = 0; i < kNameShape.size() + kVersionDigits; ++i) {
        const char shape = i < kNameShape.size() ? kNameShape[i] : '#';
        if (shape == '#' ? !isDigit(name[i]) : name[i] != shape) {
            return false;
        }
    }
    return true;
}

}  // namespace

ParameterBackups::ParameterBackups(Link& link, const ReadbackChain& readback,
                                   const ParameterStore& store, WindowModel& model, IFiles& files,
                                   const LanguageFlag& language)
    : m_link(link),
      m_readback(readback),
      m_store(store),
      m_model(model),
      m_files(files),
      m_language(language) {}

void ParameterBackups::keepIn(std::string folder, ICalendar& calendar, bool required) {
    m_folder = std::move(folder);
    m_calendar = &calendar;
    m_required = required;
}

std::optional<int> ParameterBackups::versionInName(std::string_view path) {
    const std::string_view name = path.substr(path.find_last_of('/') + 1);
    if (!isBackupName(name)) {
        return std::nullopt;
    }
    int version = 0;
    for (std::size_t i = kNameShape.size(); i < kNameShape.size() + kVersionDigits; ++i) {
        version = version * 10 + (name[i] - '0');
    }
    return version;
}

bool ParameterBackups::beforeOverwrite() {
    m_stopped = !written() && m_required;
    return !m_stopped;
}

bool ParameterBackups::written() {
    if (m_calendar == nullptr) {
        return true;  // backups were not asked for: nothing is missing
    }
    if (m_folder.empty()) {
        say("备份未写入: 没有存放备份的文件夹 (未设置HOME)",
            "no backup written: no folder for backups (HOME is not set)", {});
        return false;
    }
    if (!m_readback.complete() || !m_readback.notRead().empty()) {
        const std::string& codes = m_readback.notRead();
        say("备份未写入: 飞控参数未全部读到", "no backup written: not every setting was read",
            codes.empty() ? std::string() : " (" + codes + ")");
        return false;
    }
    const auto bytes = ParameterSaveFile::compose(m_store, m_model.value(ids::main::kPortCombo));
    std::string error;
    if (!bytes) {
        error = "GBK";
    } else if (m_files.makeFolders(m_folder, error)) {
        const std::string path = m_folder + "/" + freeName(m_calendar->now());
        if (m_files.writeAll(path, *bytes, error)) {
            removeOldest(path);
            m_lastPath = path;
            say("已备份: ", "backup: ", path);
            return true;
        }
    }
    say("备份未写入: ", "no backup written: ", error);
    return false;
}

std::string ParameterBackups::freeName(const CalendarTime& t) const {
    char stem[64];
    std::snprintf(stem, sizeof stem, "%04d-%02d-%02d_%02d-%02d-%02d_fw%04d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second, m_readback.firmwareVersion());
    const std::vector<std::string> taken = m_files.fileNames(m_folder);
    std::string name = std::string(stem) + std::string(kSuffix);
    for (int n = 2; std::find(taken.begin(), taken.end(), name) != taken.end(); ++n) {
        name = std::string(stem) + "_" + std::to_string(n) + std::string(kSuffix);
    }
    return name;
}

// The one just written stays whatever its name: a clock that once ran ahead may have left
// names that sort after it.
void ParameterBackups::removeOldest(const std::string& kept) {
    const std::string keptName = kept.substr(m_folder.size() + 1);
    std::vector<std::string> names = m_files.fileNames(m_folder);
    std::erase_if(names,
                  [&](const std::string& name) { return !isBackupName(name) || name == keptName; });
    if (names.size() < kKept) {
        return;
    }
    std::sort(names.begin(), names.end());
    std::string error;  // a backup that stays is no reason to stop
    for (std::size_t i = 0; i + kKept - 1 < names.size(); ++i) {
        m_files.remove(m_folder + "/" + names[i], error);
    }
}

void ParameterBackups::say(const char* chinese, const char* english, const std::string& what) {
    m_model.notices().set(Notice::Backup, pick(m_language(), chinese, english) + what);
}

}  // namespace orva
