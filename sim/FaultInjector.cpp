#include "sim/FaultInjector.h"

#include <algorithm>

namespace orva::sim {

FaultInjector::FaultInjector(FaultOptions options)
    : m_options(std::move(options)), m_random(m_options.seed) {}

WirePlan FaultInjector::shape(const Outgoing& message) {
    WirePlan plan;
    if (m_closed) {
        return plan;
    }
    std::string bytes = message.bytes;
    bool holdBack = false;
    if (message.isAnswer()) {
        ++m_answers;
        auto every = [this](int n) { return n > 0 && m_answers % n == 0; };
        if (every(m_options.dropEvery)) {
            return plan;
        }
        if (every(m_options.corruptEvery) && !bytes.empty()) {
            const std::size_t at = std::min(m_options.corruptByte, bytes.size() - 1);
            bytes[at] = static_cast<char>(~static_cast<unsigned char>(bytes[at]));
        }
        // An answer that follows a held one goes out with it and is never held itself.
        holdBack = m_held.empty() && every(m_options.joinEvery);
    }
    if (!m_held.empty()) {
        bytes = std::move(m_held) + bytes;
        m_held.clear();
    } else if (holdBack) {
        m_held = std::move(bytes);
        return plan;
    }

    if (message.kind == Outgoing::Kind::LoaderAnswer &&
        ++m_loaderAnswers == m_options.stallPacket && bytes.size() > 1) {
        const std::size_t half = bytes.size() / 2;
        plan.writes.push_back({{}, bytes.substr(0, half)});
        if (m_options.stallTime.count() > 0) {
            plan.writes.push_back({m_options.stallTime, bytes.substr(half)});
        }
    } else {
        plan.writes.push_back({{}, std::move(bytes)});
    }
    if (m_options.split) {
        split(plan);
    }
    limit(plan);
    return plan;
}

void FaultInjector::split(WirePlan& plan) {
    std::vector<WireWrite> pieces;
    for (WireWrite& write : plan.writes) {
        std::size_t at = 0;
        auto delay = write.delay;
        while (at < write.bytes.size()) {
            std::uniform_int_distribution<std::size_t> size(1, write.bytes.size() - at);
            const std::size_t n = size(m_random);
            pieces.push_back({delay, write.bytes.substr(at, n)});
            delay = m_options.splitGap;
            at += n;
        }
    }
    plan.writes = std::move(pieces);
}

void FaultInjector::limit(WirePlan& plan) {
    for (std::size_t i = 0; i < plan.writes.size(); ++i) {
        std::string& bytes = plan.writes[i].bytes;
        const long size = static_cast<long>(bytes.size());
        if (m_options.closeAfter > 0 && m_bytesSent + size >= m_options.closeAfter) {
            bytes.resize(static_cast<std::size_t>(m_options.closeAfter - m_bytesSent));
            m_bytesSent = m_options.closeAfter;
            plan.writes.resize(i + 1);
            plan.closeLine = true;
            m_closed = true;
            return;
        }
        m_bytesSent += size;
    }
}

}  // namespace orva::sim
