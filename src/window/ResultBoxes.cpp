#include "window/ResultBoxes.h"

#include <string>

namespace orva {
namespace {

constexpr const char* kTitleChinese = "Halvane提示:";
constexpr const char* kTitleEnglish = "Halvane Mentioned:";
// The upgrade's success box alone writes "mentioned" in lower case.
constexpr const char* kSuccessTitleEnglish = "Halvane mentioned:";

constexpr const char* kUpgradedChinese =
    "恭喜你升级成功!\r\r请根据您的需要重新设置飞控各项参数，并重做水平校准与罗盘校准!\r\r"
    "<若是第一次使用Kivrel飞控，您还需先做油门行程校准!>";
constexpr const char* kUpgradedEnglish =
    "Congratulations on your updgrading finished !\r\rPlease resetup all parameter，and do "
    "horizontal & compass cablitration!";

// Not a text of the controller's tool: the labels are fixed, so this only shows on a system whose
// C library has no GBK converter.
constexpr const char* kNoGbk = "GBK (code page 936) conversion is not available on this system.";

struct BoxText {
    Refusal refusal;
    MessageIcon icon;
    const char* chinese;
    const char* english;
};

// The refusals worded the same whatever the exchange.
constexpr BoxText kRefusalTexts[] = {
    {Refusal::NotSelected, MessageIcon::Warning, "您尚未选择升级文件，请重新选择!",
     "The Fw file was not selected!Please select it again!"},
    {Refusal::NotFirmware, MessageIcon::Warning, "你选择的不是升级文件，请重新选择升级文件",
     "The file was not the Fw for Kivrel!Please select it again!"},
    {Refusal::Damaged, MessageIcon::Warning, "文件已损坏，请重新选择升级文件",
     "File error ! Please select it again!"},
    {Refusal::ReadError, MessageIcon::Warning, "文件错误，请重新选择升级文件",
     "File error ! Please select it again!"},
    {Refusal::DataSend, MessageIcon::Error, "数据传输错误，请重新升级!",
     "Data Send Err，Please Update again!"},
    {Refusal::LastData, MessageIcon::Error, "传输超时，请重新升级",
     "Data Error，Please Update again!"},
    {Refusal::Checksum, MessageIcon::Error, "数据校验错误，请重新升级!",
     "Data Error，Please Update again!"},
    {Refusal::NoGbk, MessageIcon::Error, kNoGbk, kNoGbk},
};

MessageBox box(Language language, std::string text, MessageIcon icon,
               const char* englishTitle = kTitleEnglish) {
    return {std::move(text), pick(language, kTitleChinese, englishTitle), MessageButtons::Ok, icon,
            MessageResult::Ok};
}

}  // namespace

std::optional<MessageBox> resultBox(const ExchangeResult& result, Language language) {
    const bool english = language == Language::English;
    if (result.outcome == Outcome::Done) {
        switch (result.exchange) {
            case Exchange::Upgrade:
                return box(language, pick(language, kUpgradedChinese, kUpgradedEnglish),
                           MessageIcon::Information, kSuccessTitleEnglish);
            case Exchange::Calibration:
                return box(language, english ? "Calibrate OK !" : "校准完成！",
                           MessageIcon::Information);
            default:
                return std::nullopt;
        }
    }
    if (result.outcome != Outcome::Refused) {
        return std::nullopt;
    }
    switch (result.refusal) {
        case Refusal::FileUnreadable:
        case Refusal::FileUnwritable:
            // The system's own reason, in the language the file layer was given.
            return box(language, result.detail, MessageIcon::Error);
        case Refusal::ForeignLine:
            return box(language,
                       english ? "Line " + result.detail +
                                     " of this file is not as Save Data writes it; nothing was "
                                     "sent to the controller."
                               : "此文件第" + result.detail +
                                     "行与保存当前数据写出的格式不符，未向飞控发送任何参数。",
                       MessageIcon::Error);
        default:
            break;
    }
    for (const BoxText& text : kRefusalTexts) {
        if (text.refusal == result.refusal) {
            return box(language, pick(language, text.chinese, text.english), text.icon);
        }
    }
    return std::nullopt;
}

}  // namespace orva
