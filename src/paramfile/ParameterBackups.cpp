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

bool isBackupName(std::string_view name) {
    if (name.size() < kNameShape.size() + kSuffix.size() || !name.ends_with(kSuffix)) {
        return false;
    }
    for (std::size_t i = 0; i < kNameShape.size(); ++i) {
        const bool digit = name[i] >= '0' && name[i] <= '9';
        if (kNameShape[i] == '#' ? !digit : name[i] != kNameShape[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

ParameterBackups::ParameterBackups(Link& link, const ReadbackChain& readback,
                                   const ParameterStore& store, const WindowModel& model,
                                   IFiles& files, const LanguageFlag& language)
    : m_link(link),
      m_readback(readback),
      m_store(store),
      m_model(model),
      m_files(files),
      m_language(language) {}

void ParameterBackups::keepIn(std::string folder, ICalendar& calendar) {
    m_folder = std::move(folder);
    m_calendar = &calendar;
}

void ParameterBackups::beforeOverwrite() {
    if (m_calendar == nullptr || m_folder.empty() || !m_readback.complete()) {
        return;
    }
    const auto bytes = ParameterSaveFile::compose(m_store, m_model.value(ids::main::kPortCombo));
    std::string error;
    if (!bytes) {
        error = "GBK";
    } else if (m_files.makeFolders(m_folder, error)) {
        const std::string path = m_folder + "/" + freeName(m_calendar->now());
        if (m_files.writeAll(path, *bytes, error)) {
            removeOldest();
            m_lastPath = path;
            say("已备份: ", "backup: ", path);
            return;
        }
    }
    say("备份未写入: ", "no backup written: ", error);
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

void ParameterBackups::removeOldest() {
    std::vector<std::string> names = m_files.fileNames(m_folder);
    std::erase_if(names, [](const std::string& name) { return !isBackupName(name); });
    if (names.size() <= kKept) {
        return;
    }
    std::sort(names.begin(), names.end());
    std::string error;  // a backup that stays is no reason to stop
    for (std::size_t i = 0; i + kKept < names.size(); ++i) {
        m_files.remove(m_folder + "/" + names[i], error);
    }
}

void ParameterBackups::say(const char* chinese, const char* english, const std::string& what) {
    m_link.setNotice(Notice::Backup, pick(m_language(), chinese, english) + what);
}

}  // namespace orva
