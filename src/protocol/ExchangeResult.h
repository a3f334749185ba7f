#pragma once

#include <functional>
#include <string>

namespace orva {

// The exchanges that end with a result a front end acts on.
enum class Exchange {
    Readback,        // the main read-back that starts every connection and ends every overwrite
    Save,            // Save Data: the parameter store to a file
    Restore,         // a saved file written to the controller, then read back
    DefaultSet,      // one of the controller's default sets loaded, then read back
    Set,             // one setting written as its page writes it, then read back
    Calibration,     // the battery cells' voltages
    FrameSave,       // the custom frame's numbers
    FirmwareChoice,  // the firmware file chosen for an upgrade
    Upgrade,         // the firmware transfer
    Monitor,         // the live data display, started and stopped
};

enum class Outcome {
    Done,
    Refused,       // see Refusal
    NotAnswering,  // the controller gave no whole answer to `detail`, the command
    LineLost,
};

// Why an exchange was refused, by the tool (a file) or by the controller.
enum class Refusal {
    None,
    FileUnreadable,  // detail: the system's reason
    ForeignLine,     // detail: the first line Save Data could not have written
    FileUnwritable,  // detail: the system's reason
    NoGbk,           // no GBK converter on this system
    NoBackup,        // the backup an overwrite needs could not be written
    NotRead,         // detail: the codes not read since the frame dialog opened, or "" for all
    NotSelected,     // firmware: no file chosen
    NotFirmware,     // firmware: the name does not end in "bin"
    Damaged,         // firmware: empty, short or unreadable
    ReadError,       // firmware: too large, or read only in part
    DataSend,        // the loader did not ask for the next block
    LastData,        // the loader did not take the last data packet
    Checksum,        // the loader's checksum differs, or it did not confirm
    NotKept,         // detail: "code=wire[,...]" the controller acknowledged but did not keep
};

struct ExchangeResult {
    Exchange exchange = Exchange::Readback;
    Outcome outcome = Outcome::Done;
    Refusal refusal = Refusal::None;
    std::string detail;

    bool operator==(const ExchangeResult&) const = default;

    // True for refusals about the user's file rather than the controller.
    bool aboutFile() const {
        switch (refusal) {
            case Refusal::FileUnreadable:
            case Refusal::ForeignLine:
            case Refusal::FileUnwritable:
            case Refusal::NoGbk:
            case Refusal::NoBackup:
            case Refusal::NotSelected:
            case Refusal::NotFirmware:
            case Refusal::Damaged:
            case Refusal::ReadError:
                return true;
            default:
                return false;
        }
    }
};

using ResultSink = std::function<void(const ExchangeResult&)>;

// Where an exchange reports how it ended; the core connects it to the front end.
class ResultOut {
  public:
    void connect(ResultSink sink) { m_sink = std::move(sink); }
    void operator()(ExchangeResult result) const {
        if (m_sink) {
            m_sink(result);
        }
    }

  private:
    ResultSink m_sink;
};

}  // namespace orva
