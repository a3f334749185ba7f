#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/WindowModel.h"
#include "paramfile/RestoreEntries.h"
#include "protocol/ProtocolEngine.h"

namespace orva {

// Writes a restored parameter file to the controller one set command at a time (protocol mode
// 7). Each acknowledgement names the command it confirms and so selects the one that follows;
// the chain keeps no position of its own. After the last link the main read-back starts again
// so every page shows what the controller now holds.
class RestoreChain {
  public:
    // An acknowledgement is taken once this many bytes have arrived.
    static constexpr int kAckMinBytes = 7;
    // Pause before every link, so the controller has finished with the previous command.
    static constexpr std::uint64_t kPauseMs = 50;
    // The restore-source list shows "File saved by youself" once the chain is through.
    static constexpr int kFileChoice = 4;

    // Takes over the receive handling of mode 7.
    RestoreChain(ProtocolEngine& engine, WindowModel& model, const RestoreEntries& entries);

    // The first link: "SC", entry 4 as it stands, CR.
    void sendFirst();

  private:
    void onReceive();
    // Sends the command of chain row `row` (the one its acknowledgement triggers), or ends the
    // chain at the last row.
    void advance(std::size_t row);
    // The next command of a row; nothing when its entry has no wire value.
    std::optional<std::string> command(std::size_t row) const;
    void finish();

    ProtocolEngine& m_engine;
    WindowModel& m_model;
    const RestoreEntries& m_entries;
};

}  // namespace orva
