#pragma once

#include <optional>
#include <string>

#include "model/LanguageFlag.h"
#include "model/WindowModel.h"
#include "protocol/LineEvent.h"
#include "protocol/Link.h"
#include "window/PortRecord.h"

namespace orva {

// The status box and the device label beside the port list: what the link reports of the line,
// the port choice and the exchanges' notices, in the current language.
class PortStatus {
  public:
    PortStatus(const Link& link, PortRecord& record, WindowModel& model,
               const LanguageFlag& language);

    // Takes the status box's form from what happened, then shows both anew.
    void on(LineEvent event);
    // The status box and the device label anew, in the current language.
    void show();
    // Called every second or so by the application: when a device plugged in or pulled out
    // changes what the port number stands for, the label follows. The line is not touched.
    void followDevices();
    // Why the last opening failed and what to do, as said in the label; empty after one that
    // succeeded.
    std::string openDiagnosis() const;

  private:
    const Link& m_link;
    PortRecord& m_record;
    WindowModel& m_model;
    const LanguageFlag& m_language;
    bool m_opened = false;
    std::optional<std::string> m_shownDevice;  // none before the first showing
    bool m_shownAppeared = false;              // a missing device was there at the last showing
};

}  // namespace orva
