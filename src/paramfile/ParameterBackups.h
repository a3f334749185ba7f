#pragma once

#include <cstddef>
#include <string>

#include "model/LanguageFlag.h"
#include "model/WindowModel.h"
#include "platform/ICalendar.h"
#include "platform/IFiles.h"
#include "protocol/Link.h"
#include "settings/ParameterStore.h"
#include "settings/ReadbackChain.h"

namespace orva {

// A copy of the controller's settings kept before something overwrites them (a restore from a
// file, a default set, a firmware upgrade): the parameter store as Save Data would write it,
// in a folder of the user's, named by date, time and firmware version. Writing one sends
// nothing and asks nothing; the file, or why there is none, is said beside the port list.
class ParameterBackups {
  public:
    // The newest backups kept; older ones are removed as new ones come.
    static constexpr std::size_t kKept = 20;

    ParameterBackups(Link& link, const ReadbackChain& readback, const ParameterStore& store,
                     const WindowModel& model, IFiles& files, const LanguageFlag& language);

    // Where the backups go, and the calendar that names them; none are written before.
    void keepIn(std::string folder, ICalendar& calendar);

    // Called before the controller's settings are overwritten. Writes nothing until a main
    // read-back has filled the store, as there is nothing of the controller's to keep then.
    void beforeOverwrite();
    // The file the last backup went to; empty when none was written.
    const std::string& lastPath() const { return m_lastPath; }

  private:
    std::string freeName(const CalendarTime& time) const;
    void removeOldest();
    void say(const char* chinese, const char* english, const std::string& what);

    Link& m_link;
    const ReadbackChain& m_readback;
    const ParameterStore& m_store;
    const WindowModel& m_model;
    IFiles& m_files;
    const LanguageFlag& m_language;
    std::string m_folder;
    ICalendar* m_calendar = nullptr;
    std::string m_lastPath;
};

}  // namespace orva
