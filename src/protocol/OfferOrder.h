#pragma once

#include <cstddef>
#include <optional>

#include "protocol/ExchangeResult.h"
#include "protocol/ProtocolMode.h"

namespace orva {

struct Taker {
    ProtocolMode mode;
    Exchange exchange;
};

// Every exchange that takes frames in each mode. Where a mode has several, each frame is offered
// to them in this order until one takes it, whatever order they registered in.
inline constexpr Taker kOfferOrder[] = {
    {ProtocolMode::Idle, Exchange::Readback},
    {ProtocolMode::Idle, Exchange::DefaultSet},
    {ProtocolMode::Restore, Exchange::Restore},
    {ProtocolMode::Monitor, Exchange::Monitor},
    {ProtocolMode::MonitorReverse, Exchange::Monitor},
    // The calibration's and the reverse boxes' rows are tried before the custom frame's.
    {ProtocolMode::AckChain, Exchange::Calibration},
    {ProtocolMode::AckChain, Exchange::FrameSave},
    {ProtocolMode::UpgradeEntry, Exchange::Upgrade},
    {ProtocolMode::LoaderReady, Exchange::Upgrade},
    {ProtocolMode::LoaderData, Exchange::Upgrade},
    {ProtocolMode::LoaderLastData, Exchange::Upgrade},
    {ProtocolMode::LoaderEnd, Exchange::Upgrade},
    {ProtocolMode::LoaderConfirm, Exchange::Upgrade},
};

// The place of (mode, exchange) in the table; nothing when the table does not list it.
constexpr std::optional<std::size_t> offerRank(ProtocolMode mode, Exchange exchange) {
    for (std::size_t i = 0; i < std::size(kOfferOrder); ++i) {
        if (kOfferOrder[i].mode == mode && kOfferOrder[i].exchange == exchange) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace orva
