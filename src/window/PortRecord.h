#pragma once

#include <functional>
#include <optional>
#include <string>

#include "model/Language.h"
#include "model/LanguageFlag.h"
#include "model/WindowModel.h"
#include "protocol/IPortChoice.h"
#include "serial/ConfigFile.h"

namespace orva {

// The port choice: the port list's selection, and its record in the configuration file for the
// next start. A record that cannot be read or written stops nothing; why is kept to be said.
class PortRecord : public IPortChoice {
  public:
    PortRecord(ConfigFile& config, WindowModel& model, const LanguageFlag& language);

    // The recorded port, shown in the list; COM3 when the file records none or a number outside
    // the list, the list's port when it cannot be read.
    int recorded() override;
    int listed() override;
    // Writes the list's port to the file, or keeps why it could not.
    void tried() override;

    // Called after every write.
    void setListener(std::function<void()> listener) { m_listener = std::move(listener); }

    // Why the choice will not be remembered, in `language`; empty when it will.
    const std::string& error(Language language);
    // A recorded number outside the list, until a new choice.
    std::optional<int> impossible() const { return m_impossible; }

  private:
    ConfigFile& m_config;
    WindowModel& m_model;
    const LanguageFlag& m_language;
    std::function<void()> m_listener;
    std::string m_error;
    Language m_errorLanguage = Language::Chinese;
    std::optional<int> m_impossible;
};

}  // namespace orva
