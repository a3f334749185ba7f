#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

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
                     WindowModel& model, IFiles& files, const LanguageFlag& language);

    // Where the backups go, and the calendar that names them; none are written before. An
    // empty folder (no home to put it in) makes every overwrite say that no backup was written.
    // `required`: an overwrite without a backup does not start.
    void keepIn(std::string folder, ICalendar& calendar, bool required = false);

    // Called before the controller's settings are overwritten; false when the overwrite must not
    // start. A backup is written only from a main read-back in which every value was read: a
    // value never read would go into it as a number the controller never held.
    bool beforeOverwrite();

    // The last overwrite was stopped for want of a backup.
    bool stopped() const { return m_stopped; }
    // The file the last backup went to; empty when none was written.
    const std::string& lastPath() const { return m_lastPath; }
    // The firmware version in a backup's name ("..._fw1211.txt" gives 1211); nothing for a
    // name of another shape.
    static std::optional<int> versionInName(std::string_view path);

  private:
    // Writes the backup, or says why there is none; true when nothing is missing.
    bool written();
    std::string freeName(const CalendarTime& time) const;
    void removeOldest(const std::string& kept);
    void say(const char* chinese, const char* english, const std::string& what);

    Link& m_link;
    const ReadbackChain& m_readback;
    const ParameterStore& m_store;
    WindowModel& m_model;
    IFiles& m_files;
    const LanguageFlag& m_language;
    std::string m_folder;
    ICalendar* m_calendar = nullptr;
    bool m_required = false;
    bool m_stopped = false;
    std::string m_lastPath;
};

}  // namespace orva
