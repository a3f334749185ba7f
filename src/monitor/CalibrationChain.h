#pragma once

#include <array>
#include <functional>
#include <string_view>

#include "protocol/ExchangeResult.h"
#include "protocol/Link.h"

namespace orva {

// The rows of the acknowledgement chain that belong to the battery calibration and the reverse
// boxes. Once an 8-byte acknowledgement is in and the chain's pause is over, its first two
// characters select the next command: the calibration sends the tap voltages under codes 1, 2
// and 3 and reports its end after code 3; a reverse box's acknowledgement hands over to the live
// monitor's reverse read-back.
class CalibrationChain : public IRestartable {
  public:
    // The four cell voltages as typed when the calibration started.
    using ValuesSource = std::function<std::array<int, 4>()>;

    CalibrationChain(Link& link, ValuesSource values);

    // The voltage at each tap of the pack, from its negative end: cell 1, cells 1 and 2, ...
    static std::array<int, 4> taps(const std::array<int, 4>& cells);

    // Reports the end of each calibration.
    void setResultSink(ResultSink sink) { m_result.connect(std::move(sink)); }

    // Keeps nothing between acknowledgements, each of which names its row; the voltages come
    // from their source, which a restart puts back itself.
    void onRestart(RestartKind) override {}

  private:
    // False when the prefix is none of these rows' (the custom frame has further rows).
    bool onAcknowledgement(std::string_view prefix);
    void sendTap(int tap);
    void finish();

    Link& m_link;
    ValuesSource m_values;
    ResultOut m_result;
};

}  // namespace orva
