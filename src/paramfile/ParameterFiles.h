#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "model/ActionTable.h"
#include "model/LanguageFlag.h"
#include "model/WindowModel.h"
#include "paramfile/RestoreChain.h"
#include "paramfile/RestoreEntries.h"
#include "platform/IFiles.h"
#include "platform/IPrompts.h"
#include "protocol/ExchangeResult.h"
#include "protocol/Link.h"
#include "settings/ParameterStore.h"
#include "settings/ReadbackChain.h"

namespace orva {

// The main window's parameter files: "Save Data" writes the parameter store to a text file; the
// restore list makes the controller load one of its default sets, or writes a saved file to it
// through the restore chain; the button beside the list explains the choices.
class ParameterFiles : public IRestartable {
  public:
    // Items 0 to 3 of the restore list load the controller's default sets; item 4 reads a file.
    static constexpr int kDefaultSetCount = 4;
    static constexpr int kFileChoice = RestoreChain::kFileChoice;
    // A restore reads no further than this. The 220 lines it can use take a few kilobytes in
    // any file of the save format; the cap keeps an absurd file from filling memory.
    static constexpr std::size_t kMaxReadBytes = std::size_t{1} << 20;

    ParameterFiles(Link& link, WindowModel& model, const ParameterStore& store,
                   const ReadbackChain& readback, IPrompts& prompts, IFiles& files,
                   const LanguageFlag& language);

    // Save button 1015, restore list 1099, restore help button 1100.
    void registerWith(ActionTable& actions);

    void onSave();
    void onRestoreSelected(int index);
    void onRestoreHelp();
    // Called before a default set or a file's values go to the controller; false stops the
    // overwrite before its first byte.
    void setBeforeOverwrite(std::function<bool()> hook) { m_beforeOverwrite = std::move(hook); }
    // The firmware version the next restored file was saved on, for a file whose name does not
    // say it (a backup's does); nothing: the name decides.
    void setSavedOn(std::optional<int> version) { m_savedOn = version; }
    // The codes the last restore converted for the controller's firmware; empty for none.
    const std::string& converted() const { return m_converted; }

    const RestoreEntries& entries() const { return m_entries; }

    // Save, restore and default set report how they ended; an overwrite ends with the read-back
    // that follows it.
    void setResultSink(ResultSink sink) { m_result.connect(std::move(sink)); }
    // The main read-back got to its end: an overwrite waiting on it is over, and a restore
    // reports the values the controller did not keep.
    void onReadBack();

    // Keeps all: an overwrite under way ends with the read-back the restart starts, which says
    // what the controller kept.
    void onRestart(RestartKind) override {}

  private:
    void restoreDefaultSet(int set);
    void restoreFromFile();
    void convertForFirmware(const std::string& path);
    bool english() const { return m_language() == Language::English; }
    void refuse(Exchange exchange, Refusal refusal, std::string detail = {});

    Link& m_link;
    WindowModel& m_model;
    const ParameterStore& m_store;
    const ReadbackChain& m_readback;
    IPrompts& m_prompts;
    IFiles& m_files;
    const LanguageFlag& m_language;
    RestoreEntries m_entries;
    RestoreChain m_chain{m_link, m_model, m_entries};
    std::function<bool()> m_beforeOverwrite = [] { return true; };
    std::optional<int> m_savedOn;
    std::string m_converted;
    ResultOut m_result;
    std::optional<Exchange> m_overwriting;  // until the read-back after it ends
};

}  // namespace orva
