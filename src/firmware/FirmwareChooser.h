#pragma once

#include <functional>
#include <string>

#include "firmware/FirmwareImage.h"
#include "model/ActionTable.h"
#include "model/LanguageFlag.h"
#include "model/WindowModel.h"
#include "platform/IFiles.h"
#include "platform/IPrompts.h"
#include "protocol/ExchangeResult.h"

namespace orva {

// The "choose upgrade file" button: asks for a .bin file, checks its name and length, loads it
// into the image and enables the Upgrade button only when all of that succeeded.
class FirmwareChooser {
  public:
    static constexpr const char* kHintChinese =
        "<-请先点击左侧按扭选择升级文件(*.bin),再点右侧按扭开始升级!";
    static constexpr const char* kHintEnglish =
        "<-Please select FW file(*.bin),then click the [Upgrade]!";
    static constexpr const char* kFilter = "Halvane升级文件(*.bin)|*.bin|所有文件(*.*)|*.*||";

    FirmwareChooser(WindowModel& model, IPrompts& prompts, IFiles& files,
                    const LanguageFlag& language, FirmwareImage& image);

    void registerWith(ActionTable& actions);

    // Button 1001. True when an image was loaded and the Upgrade button enabled.
    bool choose();

    // The chosen file's name without its folder; empty after a cancelled dialog.
    const std::string& fileName() const { return m_fileName; }
    const std::string& path() const { return m_path; }

    void setResultSink(ResultSink sink) { m_result.connect(std::move(sink)); }

  private:
    bool refuse(Refusal refusal);

    WindowModel& m_model;
    IPrompts& m_prompts;
    IFiles& m_files;
    const LanguageFlag& m_language;
    FirmwareImage& m_image;
    std::string m_path;
    std::string m_fileName;
    ResultOut m_result;
};

}  // namespace orva
