#include "firmware/UpgradeTransfer.h"

#include <algorithm>

#include "firmware/UpgradePacket.h"
#include "model/ControlIds.h"
#include "protocol/Frames.h"

namespace orva {
namespace {

// The status box's percent stops at full, as the bar does.
constexpr int kPercentMaximum = 100;
// The packet modes, in the order the transfer passes through them.
constexpr ProtocolMode kPacketModes[] = {ProtocolMode::LoaderData, ProtocolMode::LoaderLastData,
                                         ProtocolMode::LoaderEnd, ProtocolMode::LoaderConfirm};

// Controls of the main area that would start another exchange; they stay off until the
// transfer succeeds.
constexpr ControlKey kMainAreaControls[] = {
    ids::main::kChooseFirmware, ids::main::kMultiAxisTip, ids::main::kMultiAxis,
    ids::main::kEscTip,         ids::main::kEsc,          ids::main::kServoTip,
    ids::main::kServo,          ids::main::kSaveData,     ids::main::kRestoreChoice,
    ids::main::kLoadData,       ids::main::kDeclination,  ids::main::kDeclinationSet,
};
// Enabled again, besides the above, at the end of a successful transfer: the sensor boxes, the
// Upgrade button and the port list.
constexpr ControlKey kEnabledOnSuccess[] = {
    {Dialog::Main, 1056}, {Dialog::Main, 1058}, {Dialog::Main, 1059},
    {Dialog::Main, 1060}, {Dialog::Main, 1062}, {Dialog::Main, 1064},
    {Dialog::Main, 1065}, ids::main::kUpgrade,  ids::main::kPortCombo,
};

}  // namespace

UpgradeTransfer::UpgradeTransfer(Link& link, ReadbackChain& readback, WindowModel& model,
                                 const LanguageFlag& language, const FirmwareImage& image)
    : m_link(link), m_readback(readback), m_model(model), m_language(language), m_image(image) {}

void UpgradeTransfer::registerWith(ActionTable& actions) {
    actions.on(ActionKind::Click, ids::main::kUpgrade, [this](const UserAction&) { start(); });
    m_link.on<LoaderTag>(ProtocolMode::UpgradeEntry, Exchange::Upgrade, *this,
                         [this](const LoaderTag& tag) { onTagReply(tag.tag); });
    m_link.on<ReadyWord>(ProtocolMode::LoaderReady, Exchange::Upgrade, *this,
                         [this](const ReadyWord&) { beginBlocks(); });
    for (ProtocolMode mode : kPacketModes) {
        m_link.on<LoaderAnswer>(
            mode, Exchange::Upgrade, *this,
            [this, mode](const LoaderAnswer& answer) { onLoaderAnswer(mode, answer); });
    }
}

void UpgradeTransfer::onRestart(RestartKind kind) {
    switch (kind) {
        case RestartKind::File:
            reset();
            m_model.setEnabled(ids::main::kUpgrade, false);
            break;
        case RestartKind::Combo:
            releaseAbandoned();
            break;
    }
}

void UpgradeTransfer::reset() {
    m_tag.clear();
    m_block = 0;
    m_dataOffset = 0;
    m_checksum = 0;
    m_percent = 0;
    m_model.setValue(ids::main::kProgress, 0);
    m_model.setVisible(ids::main::kProgress, false);
    releaseAbandoned();
}

// A transfer that failed, or lost its line, left the controller in its loader and the main area
// locked; a link restart gives back the means to choose an image and try again.
void UpgradeTransfer::releaseAbandoned() {
    if (m_underway) {
        m_underway = false;
        enableMainArea(true);
    }
}

void UpgradeTransfer::start() {
    if (!m_beforeStart()) {
        m_result({Exchange::Upgrade, Outcome::Refused, Refusal::NoBackup});
        return;
    }
    m_underway = true;
    m_link.enter(ProtocolMode::UpgradeEntry);
    m_link.openStoredPortIfClosed();
    enableMainArea(false);
    m_link.discardInput();
    showStatus("串口未打开", "COM Not Opened", false);
    m_link.discardInput();
    m_link.sendBytes(frames::kUpgradeKindQuery);
}

void UpgradeTransfer::enableMainArea(bool enabled) {
    for (ControlKey key : kMainAreaControls) {
        m_model.setEnabled(key, enabled);
    }
}

void UpgradeTransfer::onTagReply(const std::string& tag) {
    m_tag = tag;
    if (m_tag == frames::kTagQdec) {
        m_link.enter(ProtocolMode::LoaderReady);
        m_link.sendBytes(frames::kUpgradeEnterQdec);
    } else if (m_tag == frames::kTagQdmc) {
        m_link.enter(ProtocolMode::LoaderReady);
        m_link.sendBytes(frames::kUpgradeEnterQdmc);
    }
}

void UpgradeTransfer::beginBlocks() {
    m_link.enter(ProtocolMode::LoaderData);
    m_block = 1;
    m_dataOffset = 0;
    m_checksum = 0;
    m_percent = 0;
    m_model.setValue(ids::main::kProgress, 0);
    m_model.setMaximum(ids::main::kProgress, m_image.blockCount() + 1);
    m_model.setVisible(ids::main::kProgress, true);
    send(UpgradePacket::start(static_cast<std::uint32_t>(m_block)));
    showProgress(m_block);
    showStatus("正传输数据>>", "Data Sending>>", true);
}

void UpgradeTransfer::onLoaderAnswer(ProtocolMode current, const LoaderAnswer& answer) {
    const std::uint32_t expected = answer.block;
    const std::uint32_t theirs = answer.checksum;
    ++m_block;
    const bool inTurn = expected == static_cast<std::uint32_t>(m_block);
    const auto block = static_cast<std::uint32_t>(m_block);

    switch (current) {
        case ProtocolMode::LoaderData:
            if (!inTurn) {
                return fail(Refusal::DataSend);
            }
            if (m_block == m_image.blockCount()) {
                m_link.enter(ProtocolMode::LoaderLastData);
            }
            showProgress(m_block);
            showStatus("升级已完成", "Finished", true);
            send(UpgradePacket::data(block, m_image, static_cast<std::size_t>(m_dataOffset),
                                     m_checksum));
            m_dataOffset += static_cast<std::int32_t>(FirmwareImage::kBytesPerPacket);
            return;
        case ProtocolMode::LoaderLastData:
            if (!inTurn) {
                return fail(Refusal::LastData);
            }
            m_link.enter(ProtocolMode::LoaderEnd);
            showProgress(m_block);
            showStatus("串口已打开", "COM Opened", false);
            send(UpgradePacket::end(block, m_checksum));
            return;
        case ProtocolMode::LoaderEnd:
            if (!inTurn || theirs != m_checksum) {
                return fail(Refusal::Checksum);
            }
            m_link.enter(ProtocolMode::LoaderConfirm);
            showProgress(m_block);
            showStatus("升级已完成", "Finished ", true);
            send(UpgradePacket::confirm(block));
            return;
        default:  // the confirm packet's answer
            if (!inTurn) {
                return fail(Refusal::Checksum);
            }
            succeed();
            return;
    }
}

void UpgradeTransfer::succeed() {
    m_underway = false;
    showProgress(m_block + 1);
    showStatus("升级已完成", "Finished ", true);
    m_result({.exchange = Exchange::Upgrade});
    m_link.enter(ProtocolMode::Idle);
    m_checksum = 0;
    enableMainArea(true);
    for (ControlKey key : kEnabledOnSuccess) {
        m_model.setEnabled(key, true);
    }
    if (m_channelReset) {
        m_channelReset();
    }
    m_link.enter(ProtocolMode::Idle, Reply::Emptied);
    m_readback.start();
    m_model.setVisible(ids::main::kProgress, false);
    showStatus("串口已打开", "COM Opened", false);
}

void UpgradeTransfer::fail(Refusal refusal) {
    m_result({Exchange::Upgrade, Outcome::Refused, refusal});
    m_checksum = 0;
    m_model.setVisible(ids::main::kProgress, false);
    showStatus("串口已打开", "COM Opened", false);
    m_link.enter(ProtocolMode::Idle);
}

void UpgradeTransfer::showProgress(std::int32_t position) {
    const std::int32_t range = m_image.blockCount() + 1;
    m_percent = m_block * 100 / range;
    // The last steps run past the bar's range of 0 to B + 1; the bar stops at full.
    m_model.setValue(ids::main::kProgress, std::min(range, position));
}

void UpgradeTransfer::showStatus(const char* chinese, const char* english, bool withPercent) {
    std::string text = pick(m_language(), chinese, english);
    if (withPercent) {
        text += std::to_string(std::min(kPercentMaximum, m_percent)) + "%";
    }
    m_model.setText(ids::main::kStatus, std::move(text));
}

void UpgradeTransfer::send(const std::string& packet) {
    m_link.sendBytes(packet);
}

}  // namespace orva
