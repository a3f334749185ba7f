#include "window/PortRecord.h"

#include "model/ControlIds.h"
#include "protocol/Link.h"

namespace orva {

PortRecord::PortRecord(ConfigFile& config, WindowModel& model, const LanguageFlag& language)
    : m_config(config), m_model(model), m_language(language) {}

int PortRecord::recorded() {
    m_impossible.reset();
    std::string error;
    const auto stored = m_config.read(error);
    if (!stored) {
        // Nothing to go by: the port the list shows, COM3 at start-up. The write that follows
        // says whether the choice can be remembered.
        m_error = error;
        m_errorLanguage = m_language();
        const int position = m_model.value(ids::main::kPortCombo);
        return position >= 0 && position < Link::kPortCount ? position + 1 : Link::kDefaultPort;
    }
    if (stored->recorded && stored->port >= 1 && stored->port <= Link::kPortCount) {
        m_model.setValue(ids::main::kPortCombo, stored->port - 1);
        return stored->port;
    }
    if (stored->recorded) {
        // A number the list does not hold: COM3, and COM3 is what gets written back.
        m_impossible = stored->port;
        m_model.setValue(ids::main::kPortCombo, Link::kDefaultPort - 1);
    }
    return Link::kDefaultPort;
}

int PortRecord::listed() {
    m_impossible.reset();
    return m_model.value(ids::main::kPortCombo) + 1;
}

void PortRecord::tried() {
    std::string error;
    m_error =
        m_config.write(m_model.value(ids::main::kPortCombo) + 1, error) ? std::string() : error;
    m_errorLanguage = m_language();
    if (m_listener) {
        m_listener();
    }
}

const std::string& PortRecord::error(Language language) {
    if (m_errorLanguage != language) {
        // The file layer worded the error in the language of its moment.
        m_error = m_config.reword(m_error);
        m_errorLanguage = language;
    }
    return m_error;
}

}  // namespace orva
