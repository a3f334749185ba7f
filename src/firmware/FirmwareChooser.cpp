#include "firmware/FirmwareChooser.h"

#include "model/ControlIds.h"

namespace orva {
namespace {

// Only the last three characters count, case-sensitively: "notes.txtbin" passes, "fw.BIN" not.
constexpr std::string_view kFirmwareEnding = "bin";

struct ProblemText {
    const char* chinese;
    const char* english;
};

// Indexed by FirmwareChooser::Problem.
constexpr ProblemText kProblemTexts[] = {
    {"您尚未选择升级文件，请重新选择!", "The Fw file was not selected!Please select it again!"},
    {"你选择的不是升级文件，请重新选择升级文件",
     "The file was not the Fw for Kivrel!Please select it again!"},
    {"文件已损坏，请重新选择升级文件", "File error ! Please select it again!"},
    {"文件错误，请重新选择升级文件", "File error ! Please select it again!"},
};

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
            return refuse(m_path.empty() ? Problem::NotSelected : Problem::NotFirmware);
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
        return refuse(Problem::Damaged);
    }
    if (!error.empty()) {
        return refuse(Problem::ReadError);
    }
    switch (FirmwareImage::fit(content->size())) {
        case FirmwareImage::Fit::Damaged:
            return refuse(Problem::Damaged);
        case FirmwareImage::Fit::TooLarge:
            return refuse(Problem::ReadError);
        case FirmwareImage::Fit::Loadable:
            break;
    }
    m_image.load(*content);
    m_model.setEnabled(ids::main::kUpgrade, true);
    return true;
}

bool FirmwareChooser::refuse(Problem problem) {
    const Language language = m_language();
    const ProblemText& text = kProblemTexts[static_cast<int>(problem)];
    m_prompts.message({pick(language, text.chinese, text.english),
                       pick(language, "Halvane提示:", "Halvane Mentioned:"), MessageButtons::Ok,
                       MessageIcon::Warning, MessageResult::Ok});
    m_model.setEnabled(ids::main::kUpgrade, false);
    return false;
}

}  // namespace orva
