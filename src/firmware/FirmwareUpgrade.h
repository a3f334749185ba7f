#pragma once

#include "core/ActionTable.h"
#include "firmware/FirmwareChooser.h"
#include "firmware/FirmwareImage.h"
#include "firmware/UpgradeTransfer.h"

namespace orva {

// The main window's firmware upgrade: the chosen image, the button that chooses it and the
// transfer that the Upgrade button starts.
class FirmwareUpgrade {
  public:
    using LanguageSource = std::function<Language()>;

    FirmwareUpgrade(ProtocolEngine& engine, WindowModel& model, IPrompts& prompts, IFiles& files,
                    ConfigFile& config, LanguageSource language)
        : m_chooser(model, prompts, files, language, m_image),
          m_transfer(engine, model, prompts, config, std::move(language), m_image) {}

    void registerWith(ActionTable& actions) {
        m_chooser.registerWith(actions);
        m_transfer.registerWith(actions);
    }
    // The file-variant link restart puts the transfer's state back to its start values.
    void reset() { m_transfer.reset(); }

    const FirmwareImage& image() const { return m_image; }
    FirmwareChooser& chooser() { return m_chooser; }
    UpgradeTransfer& transfer() { return m_transfer; }

  private:
    FirmwareImage m_image;
    FirmwareChooser m_chooser;
    UpgradeTransfer m_transfer;
};

}  // namespace orva
