#pragma once

#include "firmware/FirmwareChooser.h"
#include "firmware/FirmwareImage.h"
#include "firmware/UpgradeTransfer.h"
#include "model/ActionTable.h"

namespace orva {

// The main window's firmware upgrade: the chosen image, the button that chooses it and the
// transfer that the Upgrade button starts.
class FirmwareUpgrade {
  public:
    FirmwareUpgrade(Link& link, ReadbackChain& readback, WindowModel& model, IPrompts& prompts,
                    IFiles& files, const LanguageFlag& language)
        : m_chooser(model, prompts, files, language, m_image),
          m_transfer(link, readback, model, language, m_image) {}

    void registerWith(ActionTable& actions) {
        m_chooser.registerWith(actions);
        m_transfer.registerWith(actions);
    }

    const FirmwareImage& image() const { return m_image; }
    FirmwareChooser& chooser() { return m_chooser; }
    const FirmwareChooser& chooser() const { return m_chooser; }
    UpgradeTransfer& transfer() { return m_transfer; }
    const UpgradeTransfer& transfer() const { return m_transfer; }

  private:
    FirmwareImage m_image;
    FirmwareChooser m_chooser;
    UpgradeTransfer m_transfer;
};

}  // namespace orva
