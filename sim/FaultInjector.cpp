#include "sim/FaultInjector.h"

#include <algorithm>
#include <utility>

namespace orva::sim {

FaultInjector::FaultInjector(FaultOptions options)
    : m_options(std::move(options)), m_random(m_options.seed) {}

namespace {
// A USB serial adapter sends what it holds once its latency timer runs out.
constexpr std::chrono::milliseconds kAdapterLatency{16};
}  // namespace

std::chrono::milliseconds FaultInjector::holdLimit() const {
    return m_options.joinWindow.count() > 0 ? m_options.joinWindow : kAdapterLatency;
}

WirePlan FaultInjector::shape(const Outgoing& message) {
    if (m_closed) {
        return {};
    }
    std::string bytes = message.bytes;
    bool hold = false;
    if (message.isAnswer()) {
        ++m_answers;
        auto every = [this](int n) { return n > 0 && m_answers % n == 0; };
        if (every(m_options.dropEvery)) {
            return {};
        }
        if (every(m_options.corruptEvery) && !bytes.empty()) {
            const std::size_t at = std::min(m_options.corruptByte, bytes.size() - 1);
            bytes[at] = static_cast<char>(~static_cast<unsigned char>(bytes[at]));
        }
        const bool windowed =
            m_options.joinWindow.count() > 0 && message.kind != Outgoing::Kind::LoaderAnswer;
        // An answer that follows one held by count goes out with it and is never held itself.
        hold = windowed || (m_held.empty() && every(m_options.joinEvery));
    }
    if (hold) {
        m_held += bytes;
        return {};
    }
    if (!m_held.empty()) {
        bytes = std::exchange(m_held, {}) + bytes;
    }
    return plan(std::move(bytes), message.kind);
}

WirePlan FaultInjector::release() {
    if (m_closed || m_held.empty()) {
        return {};
    }
    return plan(std::exchange(m_held, {}), Outgoing::Kind::Reply);
}

WirePlan FaultInjector::plan(std::string bytes, Outgoing::Kind kind) {
    WirePlan plan;
    if (kind == Outgoing::Kind::LoaderAnswer && ++m_loaderAnswers == m_options.stallPacket &&
        bytes.size() > 1) {
        const std::size_t half = bytes.size() / 2;
        plan.writes.push_back({{}, bytes.substr(0, half)});
        if (m_options.stallTime.count() > 0) {
            plan.writes.push_back({m_options.stallTime, bytes.substr(half)});
        }
    } else {
        plan.writes.push_back({{}, std::move(bytes)});
    }
    std::string& last = plan.writes.back().bytes;
    if (m_options.lateLineEnd.count() > 0 && last.size() > 1 && last.back() == '\n') {
        last.pop_back();
        plan.writes.push_back({m_options.lateLineEnd, "\n"});
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
