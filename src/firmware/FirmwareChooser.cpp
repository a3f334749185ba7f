#include "firmware/FirmwareChooser.h"

#include "model/ControlIds.h"

namespace orva {
namespace {

// Only the last three characters count, case-sensitively: "notes.txtbin" passes, "fw.BIN" not.
constexpr std::string_view kFirmwareEnding = "bin";

std::string baseName(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

FirmwareChooser::FirmwareChooser(WindowModel& model, IPrompts& prompts, IFiles& files,
                                 const LanguageFlag& language, FirmwareImage& image)
    : m_model(model), m_prompts(prompts), m_files(files), m_language(language), m_image(image) {}

void FirmwareChooser::registerWith(ActionTable& actions) {
    actions.on(ActionKind::Click, ids::main::kChooseFirmware,
               [this](const UserAction&) { choose(); });
}

bool FirmwareChooser::choose() {
    const Language language = m_language();
    m_model.setText(ids::main::kUpgradeHint, pick(language, kHintChinese, kHintEnglish));

    const auto chosen = m_prompts.chooseFile(
        {.save = false, .defaultName = "", .defaultSuffix = "bin", .filter = kFilter});
    m_path.clear();
    m_fileName.clear();
    if (chosen) {
        m_path = *chosen;
        m_fileName = baseName(m_path);
        m_model.setText(ids::main::kUpgradeHint, m_path);
        if (!m_path.ends_with(kFirmwareEnding)) {
            return refuse(m_path.empty() ? Refusal::NotSelected : Refusal::NotFirmware);
        }
        m_model.setEnabled(ids::main::kUpgrade, true);
    }

    // A cancelled dialog leaves the path empty, and opening an empty path fails. One byte past
    // the buffer is enough to tell a file that does not fit it.
    std::string error;
    const auto content = m_path.empty()
                             ? std::nullopt
                             : m_files.readPrefix(m_path, FirmwareImage::kCapacity + 1, error);
    if (!content) {
        return refuse(Refusal::Damaged);
    }
    if (!error.empty()) {
        return refuse(Refusal::ReadError);
    }
    switch (FirmwareImage::fit(content->size())) {
        case FirmwareImage::Fit::Damaged:
            return refuse(Refusal::Damaged);
        case FirmwareImage::Fit::TooLarge:
            return refuse(Refusal::ReadError);
        case FirmwareImage::Fit::Loadable:
            break;
    }
    m_image.load(*content);
    m_model.setEnabled(ids::main::kUpgrade, true);
    m_result({.exchange = Exchange::FirmwareChoice, .detail = m_path});
    return true;
}

bool FirmwareChooser::refuse(Refusal refusal) {
    m_result({Exchange::FirmwareChoice, Outcome::Refused, refusal, m_path});
    m_model.setEnabled(ids::main::kUpgrade, false);
    return false;
}

}  // namespace orva
