#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/WindowModel.h"
#include "paramfile/RestoreEntries.h"
#include "protocol/Link.h"

namespace orva {

// Writes a restored parameter file to the controller one set command at a time. Each
// acknowledgement names the command it confirms and so selects the one that follows;
// the chain keeps no position of its own. After the last link the main read-back starts again
// so every page shows what the controller now holds.
class RestoreChain : public IRestartable {
  public:
    // The restore-source list shows "File saved by youself" once the chain is through.
    static constexpr int kFileChoice = 4;

    // Registers for the restore's acknowledgements.
    RestoreChain(Link& link, WindowModel& model, const RestoreEntries& entries);

    // The first link: "SC", entry 4 as it stands, CR.
    void sendFirst();

    // Every set command a restore of `entries` sends, in chain order, without the announcement:
    // what a preview compares with the controller.
    static std::vector<std::string> commands(const RestoreEntries& entries);
    // The code and the value of each of those commands, in the same order.
    static std::vector<std::pair<char, int>> values(const RestoreEntries& entries);

    // Keeps no position: after a restart the link is idle and no acknowledgement reaches the
    // chain, so the restore just ends.
    void onRestart(RestartKind) override {}

  private:
    void onAcknowledgement(std::string_view prefix);
    // Sends the command of chain row `row` (the one its acknowledgement triggers), or ends the
    // chain at the last row.
    void advance(std::size_t row);
    // The next command of a row; nothing when its entry has no wire value.
    static std::optional<std::string> command(const RestoreEntries& entries, std::size_t row);
    void finish();

    Link& m_link;
    WindowModel& m_model;
    const RestoreEntries& m_entries;
};

}  // namespace orva
