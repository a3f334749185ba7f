#include "paramfile/ParameterFiles.h"

#include <cstdio>
#include <map>
#include <utility>

#include "model/ControlIds.h"
#include "paramfile/FirmwareConversion.h"
#include "paramfile/ParameterBackups.h"
#include "paramfile/ParameterSaveFile.h"
#include "protocol/Frames.h"

namespace orva {
namespace {

// The controller needs a moment to load a default set before it answers the read-back.
constexpr std::uint64_t kDefaultSetPauseMs = 10;
constexpr const char* kTitleEnglish = "Halvane Mentioned:";
constexpr const char* kTitleChinese = "Halvane提示:";

constexpr const char* kSaveQuestionChinese =
    "此操作将把当前显示的飞控参数保存到电脑中，默认文件名为QDMC_Data.txt,\r\r"
    "可自行更改文件名和存贮路径。\r\r"
    "注意：保存后的文本格式请不要更改，否则将无法正确恢复到飞控中！\r\r"
    "您确定需要立即保存当前各项数据吗？";
constexpr const char* kSaveQuestionEnglish =
    "This operation will save the parameter to a file，The default filename is QDMC_Data.txt,\r\r"
    "Note:You can't edit it or it can't recover to Kivrel！\r\r"
    "Are you sure to save the data？";

constexpr const char* kRestoreHelpChinese =
    "提示：请从右侧列表框中选择您要恢复的参数类型，\r\r"
    "1.可恢复相应机架类型的默认参数。\r\r"
    "2.恢复自我保存的相关参数(选择本人按[保存当前数据]按扭保存的文件）\r\r"
    "注意：不要改变原有文件的格式，否则恢复的参数可能不正确!";
constexpr const char* kRestoreHelpEnglish =
    "This operation will recover the parameter to Kivrel，Please select the item from the "
    "combobox.\r\r"
    "1.You can recover the default parameter data of factory. \r\r"
    "2.You can recover the data that you saved in file.";

constexpr const char* kSaveFilter = "文本文件 (*.txt)|*.txt||";
constexpr const char* kRestoreFilter = "自存Kivrel飞控参数文件(*.txt)|*.txt|所有文件(*.*)|*.*||";

}  // namespace

ParameterFiles::ParameterFiles(Link& link, WindowModel& model, const ParameterStore& store,
                               const ReadbackChain& readback, IPrompts& prompts, IFiles& files,
                               const LanguageFlag& language)
    : m_link(link),
      m_model(model),
      m_store(store),
      m_readback(readback),
      m_prompts(prompts),
      m_files(files),
      m_language(language) {
    m_link.on<DefaultSetAck>(ProtocolMode::Idle, Exchange::DefaultSet, *this,
                             [this](const DefaultSetAck&) {
                                 m_link.pause(kDefaultSetPauseMs);
                                 m_link.sendQuery('V');
                             });
}

void ParameterFiles::registerWith(ActionTable& actions) {
    actions.on(ActionKind::Click, ids::main::kSaveData, [this](const UserAction&) { onSave(); });
    actions.on(ActionKind::Select, ids::main::kRestoreChoice,
               [this](const UserAction& a) { onRestoreSelected(a.value); });
    actions.on(ActionKind::Click, ids::main::kLoadData,
               [this](const UserAction&) { onRestoreHelp(); });
}

void ParameterFiles::onSave() {
    const bool en = english();
    const MessageResult answer = m_prompts.message(
        {en ? kSaveQuestionEnglish : kSaveQuestionChinese, en ? kTitleEnglish : kTitleChinese,
         MessageButtons::OkCancel, MessageIcon::Question, MessageResult::Ok});
    if (answer != MessageResult::Ok) {
        return;
    }
    FileChoice choice;
    choice.save = true;
    choice.defaultName = ParameterSaveFile::kDefaultName;
    choice.defaultSuffix = ParameterSaveFile::kDefaultSuffix;
    choice.filter = kSaveFilter;
    const auto path = m_prompts.chooseFile(choice);
    if (!path) {
        return;
    }
    const auto bytes = ParameterSaveFile::compose(m_store, m_model.value(ids::main::kPortCombo));
    if (!bytes) {
        refuse(Exchange::Save, Refusal::NoGbk);
        return;
    }
    std::string error;
    if (!m_files.writeAll(*path, *bytes, error)) {
        refuse(Exchange::Save, Refusal::FileUnwritable, error);
        return;
    }
    m_result({.exchange = Exchange::Save, .detail = *path});
}

void ParameterFiles::onRestoreSelected(int index) {
    if (index >= 0 && index < kDefaultSetCount) {
        restoreDefaultSet(index);
    } else if (index == kFileChoice) {
        restoreFromFile();
    }
}

void ParameterFiles::restoreDefaultSet(int set) {
    // The controller's acknowledgement, taken while idle, restarts the read-back so the pages
    // show the loaded set.
    m_link.enter(ProtocolMode::Idle, Reply::Emptied);
    if (!m_beforeOverwrite()) {
        refuse(Exchange::DefaultSet, Refusal::NoBackup);
        return;
    }
    m_overwriting = Exchange::DefaultSet;
    m_link.sendSet(frames::kDefaultSetCode, set);
}

void ParameterFiles::restoreFromFile() {
    m_link.enter(ProtocolMode::Restore);
    FileChoice choice;
    choice.filter = kRestoreFilter;
    const auto path = m_prompts.chooseFile(choice);
    if (!path) {
        return;
    }
    std::string error;
    const auto bytes = m_files.readPrefix(*path, kMaxReadBytes, error);
    if (!bytes || !error.empty()) {
        // Nothing, or only part of the file: nothing goes to the controller.
        refuse(Exchange::Restore, Refusal::FileUnreadable, error);
        return;
    }
    // Every line is checked before the first command, so a damaged or foreign file cannot
    // leave the controller half-written.
    if (const auto line = ParameterSaveFile::firstForeignLine(*bytes)) {
        refuse(Exchange::Restore, Refusal::ForeignLine, std::to_string(*line));
        return;
    }
    if (!m_beforeOverwrite()) {
        refuse(Exchange::Restore, Refusal::NoBackup);
        return;
    }
    m_overwriting = Exchange::Restore;
    // Announces the restore; its acknowledgement names no link of the chain.
    m_link.enter(ProtocolMode::Restore, Reply::Emptied);
    m_link.sendSet(frames::kDefaultSetCode, kFileChoice);
    m_entries.readFrom(*bytes);
    convertForFirmware(*path);
    m_chain.sendFirst();
}

// A file saved on the other side of the gimbal encoding's boundary goes out rewritten, and the
// label beside the port list says so behind the backup's notice.
void ParameterFiles::convertForFirmware(const std::string& path) {
    const std::optional<int> savedOn =
        m_savedOn ? m_savedOn : ParameterBackups::versionInName(path);
    m_converted.clear();
    if (!savedOn) {
        return;
    }
    const int target = m_readback.firmwareVersion();
    m_converted = FirmwareConversion::convert(m_entries, *savedOn, target);
    if (m_converted.empty()) {
        return;
    }
    std::string notice = m_model.notices().get(Notice::Backup);
    if (!notice.empty()) {
        notice += "; ";
    }
    char versions[32];
    std::snprintf(versions, sizeof versions, "%04d -> %04d: ", *savedOn, target);
    notice += std::string(english() ? "converted for the firmware " : "已按固件换算 ") + versions +
              m_converted;
    m_model.notices().set(Notice::Backup, notice);
}

void ParameterFiles::onRestoreHelp() {
    const bool en = english();
    // The answer changes nothing.
    (void)m_prompts.message({en ? kRestoreHelpEnglish : kRestoreHelpChinese,
                             en ? kTitleEnglish : kTitleChinese, MessageButtons::OkCancel,
                             MessageIcon::Information, MessageResult::Ok});
}

void ParameterFiles::refuse(Exchange exchange, Refusal refusal, std::string detail) {
    m_result({exchange, Outcome::Refused, refusal, std::move(detail)});
}

void ParameterFiles::onReadBack() {
    const auto exchange = std::exchange(m_overwriting, std::nullopt);
    if (!exchange) {
        return;
    }
    std::string unkept;
    if (*exchange == Exchange::Restore) {
        // What the controller took reads back as the last value sent under its code.
        std::map<char, int> last;
        std::string codes;
        for (const auto& [code, value] : RestoreChain::values(m_entries)) {
            if (!last.contains(code)) {
                codes.push_back(code);
            }
            last[code] = value;
        }
        for (char code : codes) {
            if (m_readback.wireValue(code) != last[code]) {
                unkept.push_back(code);
            }
        }
    }
    if (unkept.empty()) {
        m_result({.exchange = *exchange});
    } else {
        refuse(*exchange, Refusal::NotKept, unkept);
    }
}

}  // namespace orva
