#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "firmware/FirmwareImage.h"
#include "model/ActionTable.h"
#include "model/LanguageFlag.h"
#include "model/WindowModel.h"
#include "protocol/ExchangeResult.h"
#include "protocol/Link.h"
#include "settings/ReadbackChain.h"

namespace orva {

// The Upgrade button and the exchange with the controller's loader. The ASCII entry asks for the
// firmware tag ("?W\r") and enters the loader with the command that names it; then 64-byte
// packets alternate with 64-byte answers, each answer naming the block the loader expects next.
// Nothing times out: a silent controller leaves the transfer waiting until another exchange
// sets another protocol mode.
class UpgradeTransfer : public IRestartable {
  public:
    UpgradeTransfer(Link& link, ReadbackChain& readback, WindowModel& model,
                    const LanguageFlag& language, const FirmwareImage& image);

    // The Upgrade button, and the receive handlers of the entry and packet modes.
    void registerWith(ActionTable& actions);

    // Clears the live monitor's channel values when a transfer has succeeded.
    void setChannelReset(std::function<void()> reset) { m_channelReset = std::move(reset); }

    // Called before the transfer starts, as it overwrites the controller's settings; false
    // keeps the transfer from starting.
    void setBeforeStart(std::function<bool()> hook) { m_beforeStart = std::move(hook); }
    void setResultSink(ResultSink sink) { m_result.connect(std::move(sink)); }

    // Button 1043.
    void start();
    // The file variant puts the transfer back to its start values, with the progress bar hidden
    // and the Upgrade button off; either variant frees the window from a transfer left
    // unfinished.
    void onRestart(RestartKind kind) override;

    const std::string& tag() const { return m_tag; }
    std::int32_t block() const { return m_block; }
    std::int32_t dataOffset() const { return m_dataOffset; }
    std::uint32_t checksum() const { return m_checksum; }
    std::int32_t percent() const { return m_percent; }

  private:
    void onTagReply(const std::string& tag);
    void onLoaderAnswer(ProtocolMode current, const LoaderAnswer& answer);
    void beginBlocks();
    void succeed();
    void fail(Refusal refusal);

    void reset();
    void releaseAbandoned();
    void enableMainArea(bool enabled);
    // Updates the percent and shows `position` of the 0..B+1 bar as a percentage.
    void showProgress(std::int32_t position);
    // The status box: `chinese`/`english` followed by the percent, or alone when `withPercent`
    // is false.
    void showStatus(const char* chinese, const char* english, bool withPercent);
    void send(const std::string& packet);

    Link& m_link;
    ReadbackChain& m_readback;
    WindowModel& m_model;
    const LanguageFlag& m_language;
    const FirmwareImage& m_image;
    std::function<void()> m_channelReset;
    std::function<bool()> m_beforeStart = [] { return true; };
    ResultOut m_result;

    std::string m_tag;
    std::int32_t m_block = 0;
    std::int32_t m_dataOffset = 0;
    std::uint32_t m_checksum = 0;
    std::int32_t m_percent = 0;
    // Started and neither succeeded nor released by a link restart.
    bool m_underway = false;
};

}  // namespace orva
