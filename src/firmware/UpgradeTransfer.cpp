#include "firmware/UpgradeTransfer.h"

#include <algorithm>

#include "firmware/UpgradePacket.h"
#include "model/ControlIds.h"
#include "protocol/Frames.h"

namespace orva {
namespace {

constexpr int kDefaultPort = 3;
constexpr int kPortCount = 20;
// The tag stands in the first four of the last eight characters of the "?W\r" answer.
constexpr std::size_t kTagWindow = 8;
constexpr std::size_t kTagLength = 4;
// A ready word may end the buffer followed by a line end of two characters.
constexpr std::size_t kReadyWindow = 6;
constexpr std::size_t kReadyLength = 4;
constexpr int kBarMaximum = 100;

// The packet phase's protocol modes, after the ready word: what the next answer acknowledges.
constexpr int kAwaitReady = mode::kUpgradeFirst;
constexpr int kDataAnswer = mode::kUpgradeFirst + 1;  // the start packet or a data packet
constexpr int kLastDataAnswer = mode::kUpgradeFirst + 2;
constexpr int kEndAnswer = mode::kUpgradeFirst + 3;  // carries the loader's checksum
constexpr int kConfirmAnswer = mode::kUpgradeLast;

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

constexpr const char* kTitleChinese = "Halvane提示:";
constexpr const char* kTitleEnglish = "Halvane Mentioned:";
constexpr const char* kSuccessTitleEnglish = "Halvane mentioned:";
constexpr const char* kSuccessChinese =
    "恭喜你升级成功!\r\r请根据您的需要重新设置飞控各项参数，并重做水平校准与罗盘校准!\r\r"
    "<若是第一次使用Kivrel飞控，您还需先做油门行程校准!>";
constexpr const char* kSuccessEnglish =
    "Congratulations on your updgrading finished !\r\rPlease resetup all parameter，and do "
    "horizontal & compass cablitration!";

struct FailureText {
    const char* chinese;
    const char* english;
};
// Indexed by UpgradeTransfer::Failure.
constexpr FailureText kFailureTexts[] = {
    {"数据传输错误，请重新升级!", "Data Send Err，Please Update again!"},
    {"传输超时，请重新升级", "Data Error，Please Update again!"},
    {"数据校验错误，请重新升级!", "Data Error，Please Update again!"},
};

bool isReadyWord(std::string_view word) {
    return word == frames::kReadyQdmc || word == frames::kReadyQdec;
}

}  // namespace

UpgradeTransfer::UpgradeTransfer(ProtocolEngine& engine, WindowModel& model, IPrompts& prompts,
                                 ConfigFile& config, LanguageSource language,
                                 const FirmwareImage& image)
    : m_engine(engine),
      m_model(model),
      m_prompts(prompts),
      m_config(config),
      m_language(std::move(language)),
      m_image(image) {}

void UpgradeTransfer::registerWith(ActionTable& actions) {
    actions.on(ActionKind::Click, ids::main::kUpgrade, [this](const UserAction&) { start(); });
    m_engine.setModeHandler(mode::kUpgradeEntry, [this](bool) { onTagReply(); });
    m_engine.setModeHandler(kAwaitReady, [this](bool) { onReadyReply(); });
    for (int m = kDataAnswer; m <= kConfirmAnswer; ++m) {
        m_engine.setModeHandler(m, [this, m](bool) { onLoaderAnswer(m); });
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
}

void UpgradeTransfer::start() {
    ProtocolState& state = m_engine.state();
    state.mode = mode::kUpgradeEntry;
    state.receivedCount = 0;
    if (!m_engine.port().GetPortOpen()) {
        openPortFromConfig();
    }
    enableMainArea(false);
    m_engine.discardInput();
    showStatus("串口未打开", "COM Not Opened", false);
    m_engine.discardInput();
    m_engine.sendBytes(frames::kUpgradeKindQuery);
}

void UpgradeTransfer::openPortFromConfig() {
    CMSComm& port = m_engine.port();
    std::string error;
    const auto stored = m_config.read(error);
    if (!stored) {
        m_prompts.message({error, pick(m_language(), kTitleChinese, kTitleEnglish),
                           MessageButtons::Ok, MessageIcon::Error, MessageResult::Ok});
    }
    if (stored && stored->recorded) {
        port.SetCommPort(stored->port);
        // Outside COM1..COM20 the list has no such entry and shows no selection.
        const int position = stored->port - 1;
        m_model.setValue(ids::main::kPortCombo,
                         position >= 0 && position < kPortCount ? position : -1);
    } else {
        port.SetCommPort(kDefaultPort);
    }
    port.SetPortOpen(true);
}

void UpgradeTransfer::enableMainArea(bool enabled) {
    for (ControlKey key : kMainAreaControls) {
        m_model.setEnabled(key, enabled);
    }
}

// The whole answer to "?W\r" must have come in this one event: the buffer is emptied each time.
void UpgradeTransfer::onTagReply() {
    ProtocolState& state = m_engine.state();
    const std::string& buffer = state.replyBuffer;
    const std::string last =
        buffer.size() > kTagWindow ? buffer.substr(buffer.size() - kTagWindow) : buffer;
    m_tag = last.substr(0, std::min(kTagLength, last.size()));
    m_engine.resetReply();
    if (m_tag == frames::kTagQdec) {
        state.mode = kAwaitReady;
        m_engine.sendBytes(frames::kUpgradeEnterQdec);
    } else if (m_tag == frames::kTagQdmc) {
        state.mode = kAwaitReady;
        m_engine.sendBytes(frames::kUpgradeEnterQdmc);
    }
}

// The ready word may come at the head of the buffer or just before a two-character line end;
// four characters stay between events so that a word split over two reads is still found.
void UpgradeTransfer::onReadyReply() {
    ProtocolState& state = m_engine.state();
    state.receivedCount = 0;
    const std::string& buffer = state.replyBuffer;
    const std::string head = buffer.substr(0, std::min(kReadyLength, buffer.size()));
    const std::string beforeEnd = buffer.size() < kReadyWindow
                                      ? buffer
                                      : buffer.substr(buffer.size() - kReadyWindow, kReadyLength);
    if (isReadyWord(head) || isReadyWord(beforeEnd)) {
        beginBlocks();
    } else {
        state.replyBuffer = beforeEnd;
    }
}

void UpgradeTransfer::beginBlocks() {
    ProtocolState& state = m_engine.state();
    state.replyBuffer.clear();
    state.mode = kDataAnswer;
    m_block = 1;
    m_dataOffset = 0;
    m_checksum = 0;
    m_percent = 0;
    m_model.setValue(ids::main::kProgress, 0);
    m_model.setVisible(ids::main::kProgress, true);
    send(UpgradePacket::start(static_cast<std::uint32_t>(m_block)));
    showProgress(m_block);
    showStatus("正传输数据>>", "Data Sending>>", true);
}

void UpgradeTransfer::onLoaderAnswer(int current) {
    ProtocolState& state = m_engine.state();
    // Acts only on exactly one whole answer; two answers in one read pass 64 and are never taken.
    if (state.receivedCount != static_cast<int>(frames::kPacketSize)) {
        return;
    }
    state.receivedCount = 0;
    const std::uint32_t expected =
        UpgradePacket::field(state.packetReply, frames::kPacketBlockOffset);
    const std::uint32_t theirs =
        UpgradePacket::field(state.packetReply, frames::kPacketChecksumOffset);
    ++m_block;
    const bool inTurn = expected == static_cast<std::uint32_t>(m_block);
    const auto block = static_cast<std::uint32_t>(m_block);

    switch (current) {
        case kDataAnswer:
            if (!inTurn) {
                return fail(Failure::DataSend);
            }
            if (m_block == m_image.blockCount()) {
                state.mode = kLastDataAnswer;
            }
            showProgress(m_block);
            showStatus("升级已完成", "Finished", true);
            send(UpgradePacket::data(block, m_image, static_cast<std::size_t>(m_dataOffset),
                                     m_checksum));
            m_dataOffset += static_cast<std::int32_t>(FirmwareImage::kBytesPerPacket);
            return;
        case kLastDataAnswer:
            if (!inTurn) {
                return fail(Failure::LastData);
            }
            state.mode = kEndAnswer;
            showProgress(m_block);
            showStatus("串口已打开", "COM Opened", false);
            send(UpgradePacket::end(block, m_checksum));
            return;
        case kEndAnswer:
            if (!inTurn || theirs != m_checksum) {
                return fail(Failure::Checksum);
            }
            state.mode = kConfirmAnswer;
            showProgress(m_block);
            showStatus("升级已完成", "Finished ", true);
            send(UpgradePacket::confirm(block));
            return;
        default:  // kConfirmAnswer
            if (!inTurn) {
                return fail(Failure::Checksum);
            }
            succeed();
            return;
    }
}

void UpgradeTransfer::succeed() {
    ProtocolState& state = m_engine.state();
    showProgress(m_block + 1);
    showStatus("升级已完成", "Finished ", true);
    const Language language = m_language();
    m_prompts.message({pick(language, kSuccessChinese, kSuccessEnglish),
                       pick(language, kTitleChinese, kSuccessTitleEnglish), MessageButtons::Ok,
                       MessageIcon::Information, MessageResult::Ok});
    state.mode = mode::kIdle;
    m_checksum = 0;
    enableMainArea(true);
    for (ControlKey key : kEnabledOnSuccess) {
        m_model.setEnabled(key, true);
    }
    if (m_channelReset) {
        m_channelReset();
    }
    state.replyBuffer.clear();
    state.retryCounter = ProtocolState::kRetryStart;
    m_engine.sendQuery('V');
    m_model.setVisible(ids::main::kProgress, false);
    showStatus("串口已打开", "COM Opened", false);
}

void UpgradeTransfer::fail(Failure failure) {
    const Language language = m_language();
    const FailureText& text = kFailureTexts[static_cast<int>(failure)];
    m_prompts.message({pick(language, text.chinese, text.english),
                       pick(language, kTitleChinese, kTitleEnglish), MessageButtons::Ok,
                       MessageIcon::Error, MessageResult::Ok});
    m_checksum = 0;
    m_model.setVisible(ids::main::kProgress, false);
    showStatus("串口已打开", "COM Opened", false);
    m_engine.state().mode = mode::kIdle;
}

void UpgradeTransfer::showProgress(std::int32_t position) {
    const std::int32_t range = m_image.blockCount() + 1;
    m_percent = m_block * 100 / range;
    // The last steps run past the bar's range; the bar stops at full.
    m_model.setValue(ids::main::kProgress, std::min(kBarMaximum, position * 100 / range));
}

void UpgradeTransfer::showStatus(const char* chinese, const char* english, bool withPercent) {
    std::string text = pick(m_language(), chinese, english);
    if (withPercent) {
        text += std::to_string(std::min(kBarMaximum, m_percent)) + "%";
    }
    m_model.setText(ids::main::kStatus, std::move(text));
}

void UpgradeTransfer::send(const std::string& packet) {
    m_engine.sendBytes(packet);
}

}  // namespace orva
