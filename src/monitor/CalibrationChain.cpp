#include "monitor/CalibrationChain.h"

#include <string>

#include "protocol/Frames.h"

namespace orva {
namespace {

constexpr std::size_t kPrefixLength = 2;
constexpr char kReceiverReverseCode = 'N';
constexpr char kOutputReverseCode = 'O';

}  // namespace

CalibrationChain::CalibrationChain(Link& link, ValuesSource values)
    : m_link(link), m_values(std::move(values)) {
    m_link.on<Acknowledgement>(
        ProtocolMode::AckChain, Exchange::Calibration, *this,
        [this](const Acknowledgement& ack) { return onAcknowledgement(ack.prefix); });
}

std::array<int, 4> CalibrationChain::taps(const std::array<int, 4>& cells) {
    std::array<int, 4> out{};
    // Summed wide and folded to the four digits the frame carries, so absurd typed values
    // cannot overflow.
    long long sum = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        sum += cells[i];
        out[i] = static_cast<int>(sum % 10000);
    }
    return out;
}

bool CalibrationChain::onAcknowledgement(std::string_view prefix) {
    if (prefix.size() != kPrefixLength || prefix[0] != 'S') {
        return false;
    }
    const std::string_view codes = frames::kCalibrationCodes;
    const std::size_t step = codes.find(prefix[1]);
    if (step != std::string_view::npos) {
        if (step + 1 < codes.size()) {
            sendTap(static_cast<int>(step) + 1);
        } else {
            finish();
        }
        return true;
    }
    if (prefix[1] == kReceiverReverseCode || prefix[1] == kOutputReverseCode) {
        m_link.enter(ProtocolMode::MonitorReverse);
        m_link.discardAndQuery(prefix[1]);
        return true;
    }
    return false;
}

void CalibrationChain::sendTap(int tap) {
    const std::array<int, 4> sums = taps(m_values ? m_values() : std::array<int, 4>{});
    m_link.sendSet(frames::kCalibrationCodes[tap], sums[tap]);
}

void CalibrationChain::finish() {
    m_result({.exchange = Exchange::Calibration});
    m_link.enter(ProtocolMode::Idle);
}

}  // namespace orva
