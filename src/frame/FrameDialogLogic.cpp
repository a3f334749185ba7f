#include "frame/FrameDialogLogic.h"

#include <span>
#include <string_view>

#include "model/ControlIds.h"
#include "protocol/Frames.h"
#include "settings/FrameControls.h"
#include "settings/IntegerText.h"
#include "settings/ParameterCatalogue.h"

namespace orva {
namespace {

constexpr Dialog kFrame = Dialog::Frame;

// The save chain: the axis count, then the numbers in wire order; the acknowledgement of each code
// leads to the next.
constexpr std::string_view kChain = "klmnopqrstuvwxy";
constexpr char kAxisCountCode = kChain[0];
constexpr std::string_view kNumberCodes = kChain.substr(1);
static_assert(kNumberCodes.size() == FrameDialogLogic::kNumbers);
// The order in which the dialog's data exchange reads the numbers: motor 2's X after motor 3's.
constexpr std::string_view kExchangeOrder = "lmnoprqstuvwxy";
constexpr char kReverseCode = 'z';
// The numbers named by a label of their own.
constexpr std::string_view kCaptionedCodes = "klm";
constexpr int kFirstCoordinate = 2;

constexpr int kStartDistance = 650;
constexpr std::uint64_t kAxisCountPauseMs = 100;

constexpr const char* kTitleChinese = "Halvane提示您:";
constexpr const char* kTitleEnglish = "Halvane mentioned:";

struct Text {
    int id;
    const char* chinese;
    const char* english;
};

constexpr Text kTexts[] = {
    {0, "异形机架设置：请输入异形机架的相关参数(注意各参数说明)，并按[保存]按扭!",
     "IRRET_SHAPE Setup:Please setup all parameter,Then press [save] button!"},
    {1004, "请输入电机的（x,y）坐标", "Please input the coordinate  (X，Y)  of motors"},
    {1003, "电机1", "Motor1"},
    {1008, "电机2", "Motor2"},
    {1006, "电机3", "Motor3"},
    {1009, "电机4", "Motor4"},
    {1224, "电机5", "Motor5"},
    {1225, "电机6", "Motor6"},
    {1015, "坐标", "Coord"},
    {1016, "坐标", "Coord"},
    {1017, "方向", "P_Rev"},
    {1018, "方向", "P_Rev"},
    {1263, "异形机架参数设置区", "Shape Frame Parameter Input Area"},
    {1266, "异形机架图示", "Picture of IRRET_SHAPE"},
    {1267, "说明：1.坐标原点与飞行器设计重心重合，X、Y轴相互垂直，建立坐标系",
     "Note：1.Origin of coordinates is the point center of gravity，X、Y axis are orthogonality"},
    {1268, "2.先测量出各电机对应的坐标值，再将测得的值输入到对应的数据框中(不超过5000mm)",
     "2.Please measured the coordinate of motors (less than 5000mm),then input it to box"},
    {1269, "3.选中每个电机前的复选框表示该电机的桨方向为反转(顺时针)，不选为正转(逆时针)",
     "3.Check it to reverse (paddle direction)"},
    {1270, "4.按右侧“保存”按扭将各参数的值保存到Kivrel飞控中",
     "4.Click the button [save] to save the parameter to Kivrel"},
    {1271, "5.电机按编号接到Kivrel飞控相应的输出通道",
     "5.Moto1 connect to output 1channel of kivrel,the same connected mode to other !"},
    {2, "取消", "Cancel"},
    {1000, "保存", "Save"},
};

constexpr const char* kMaxXOutside[] = {
    "X轴距的最大值必须在[0－5000]内,请重新输入数据!",
    "The maximum of X axis distance must belong to [0－5000],Please input it again!"};
constexpr const char* kMaxYOutside[] = {
    "Y轴距的最大值必须在[0－5000]内,请重新输入数据!",
    "The maximum of Y axis distance must belong to [0－5000],Please input it again!"};
constexpr const char* kXBeyond[] = {
    "该数据框内的数值的绝对值必须小于X轴距的最大值!请重新输入数据!",
    "The absolute value of data must less than the maximum of X axis distance !please reinput "
    "it again!"};
constexpr const char* kYBeyond[] = {
    "该数据框内的数值的绝对值必须小于Y轴距的最大值!请重新输入数据!",
    "The absolute value of data must less than the maximum of Y axis distance !please reinput "
    "it again!"};

// The axis counts the list offers, by index.
std::span<const int> axisCounts() {
    return ParameterCatalogue::at(kAxisCountCode).indexMap;
}

// The propeller direction boxes, motor 1 first.
std::span<const int> reverseBoxes() {
    return ParameterCatalogue::at(kReverseCode).boxes;
}

bool insideDistanceRange(char code, int distance) {
    const ReadRule& rule = ParameterCatalogue::at(code).rule;
    return distance >= rule.min && distance <= rule.max;
}

ControlKey editOf(char code) {
    return {kFrame, ParameterCatalogue::at(code).edit};
}

ControlKey edit(int wireIndex) {
    return editOf(kNumberCodes[wireIndex]);
}

}  // namespace

FrameDialogLogic::FrameDialogLogic(Link& link, WindowModel& model, ParameterStore& store,
                                   IPrompts& prompts, const LanguageFlag& language,
                                   std::function<void()> linkRestart)
    : m_link(link),
      m_model(model),
      m_store(store),
      m_prompts(prompts),
      m_language(language),
      m_linkRestart(std::move(linkRestart)) {
    m_model.setVisible(ids::frame::kDialog, false);
    m_link.on<Acknowledgement>(
        ProtocolMode::AckChain, Exchange::FrameSave, *this,
        [this](const Acknowledgement& ack) { return onAcknowledgement(ack.prefix); });
}

void FrameDialogLogic::registerWith(ActionTable& actions) {
    actions.on(ActionKind::Click, ids::main::kEditFrame, [this](const UserAction&) { open(); });
    actions.on(ActionKind::Select, ids::frame::kAxisCombo,
               [this](const UserAction& a) { onAxisCountSelected(a.value); });
    actions.on(ActionKind::EditCommit, ids::frame::kMaxX,
               [this](const UserAction& a) { onMaxXTyped(a.text); });
    actions.on(ActionKind::EditCommit, ids::frame::kMaxY,
               [this](const UserAction& a) { onMaxYTyped(a.text); });
    for (int i = kFirstCoordinate; i < kNumbers; ++i) {
        const ControlKey key = edit(i);
        actions.on(ActionKind::EditCommit, key,
                   [this, key](const UserAction& a) { onCoordinateTyped(key, a.text); });
    }
    for (int box : reverseBoxes()) {
        actions.on(ActionKind::Check, {kFrame, box},
                   [this](const UserAction&) { onReverseClicked(); });
    }
    actions.on(ActionKind::Click, ids::frame::kSave, [this](const UserAction&) { onSave(); });
    actions.on(ActionKind::Click, ids::frame::kCancel, [this](const UserAction&) { hide(); });
}

void FrameDialogLogic::open() {
    m_frameRead = false;
    m_linkRestart();
    if (!m_created) {
        initialise();
    }
    m_model.setVisible(ids::frame::kDialog, true);
    // Asked again on every opening, so the dialog shows what the controller holds now.
    m_link.enter(ProtocolMode::Idle);
    m_link.discardAndQuery(kAxisCountCode);
}

void FrameDialogLogic::initialise() {
    m_created = true;
    m_model.setValue(ids::frame::kAxisCombo, 0);
    m_ready = true;
    for (int i = 0; i < kNumbers; ++i) {
        m_model.setNumber(edit(i), i < kFirstCoordinate ? kStartDistance : 0);
    }
    m_sent = {};
    setTexts();
    frame_controls::showAxisCount(m_model, axisCounts()[0]);

    m_link.apply({LineSetting::WholeInput});
    m_link.discardInput();
    m_link.apply({LineSetting::NoHandshake});
    m_link.enter(ProtocolMode::Idle);
    m_link.sendQuery(kAxisCountCode);
    redraw();
}

void FrameDialogLogic::setTexts() {
    const Language language = m_language();
    for (const Text& text : kTexts) {
        m_model.setText({kFrame, text.id}, pick(language, text.chinese, text.english));
    }
    for (char code : kCaptionedCodes) {
        const ParameterEntry& e = ParameterCatalogue::at(code);
        m_model.setText(ParameterCatalogue::key(e, e.look.caption),
                        pick(language, e.chinese, e.english));
    }
}

void FrameDialogLogic::onAxisCountSelected(int position) {
    if (position < 0 || position >= static_cast<int>(axisCounts().size())) {
        return;
    }
    const int axisCount = axisCounts()[position];
    frame_controls::showAxisCount(m_model, axisCount);
    m_link.enter(ProtocolMode::Idle);
    m_link.sendBytes(frames::set(kAxisCountCode, axisCount));
    // The controller rearranges its outputs for the new count before it takes more commands.
    m_link.pause(kAxisCountPauseMs);
    redraw();
}

void FrameDialogLogic::onMaxXTyped(const std::string& text) {
    m_model.setText(ids::frame::kMaxX, text);
    readEdits();
    if (insideDistanceRange(kNumberCodes[0], number(0))) {
        redraw();
        return;
    }
    message(kMaxXOutside[0], kMaxXOutside[1]);
    focus(ids::frame::kMaxX);
}

void FrameDialogLogic::onMaxYTyped(const std::string& text) {
    m_model.setText(ids::frame::kMaxY, text);
    readEdits();
    if (!insideDistanceRange(kNumberCodes[1], number(1))) {
        message(kMaxYOutside[0], kMaxYOutside[1]);
        focus(ids::frame::kMaxY);
        return;
    }
    if (insideDistanceRange(kNumberCodes[0], number(0))) {
        redraw();
    }
}

void FrameDialogLogic::onCoordinateTyped(ControlKey key, const std::string& text) {
    // Without the ready flag the text waits in its edit until something else reads it.
    m_model.setText(key, text);
    if (m_ready) {
        redraw();
    }
}

void FrameDialogLogic::onReverseClicked() {
    const ParameterEntry& reverse = ParameterCatalogue::at(kReverseCode);
    const ControlValue boxes = ParameterCatalogue::fromControls(m_model, reverse);
    // Written at once and not confirmed: its acknowledgement matches no row of the chain.
    m_link.enter(ProtocolMode::AckChain);
    redraw();
    m_link.sendSet(kReverseCode, ParameterCatalogue::encode(reverse, boxes, 0).value_or(0));
}

void FrameDialogLogic::onFrameReadBack() {
    m_frameRead = true;
    m_model.notices().set(Notice::Frame, {});
}

void FrameDialogLogic::onSave() {
    if (!m_frameRead) {
        m_model.notices().set(
            Notice::Frame, pick(m_language(), "机架参数尚未从飞控读完，未保存：请重新打开编缉...",
                                "The frame was not read from the controller since the dialog "
                                "opened, so nothing was saved: open Edit... again"));
        m_result({Exchange::FrameSave, Outcome::Refused, Refusal::NotRead});
        return;
    }
    m_saving = true;
    m_linkRestart();
    const Language language = m_language();
    m_prompts.message({pick(language, "您确信要保存您机架的上述设置值吗？",
                            "Are you sure to save the frame parameter ? "),
                       pick(language, "Halvane提示:", "Halvane Mentioned:"), MessageButtons::Ok,
                       MessageIcon::Question, MessageResult::Ok});

    const int position = m_model.value(ids::frame::kAxisCombo);
    if (position >= 0 && position < static_cast<int>(axisCounts().size())) {
        m_model.setValue(ids::frame::kAxisCount, axisCounts()[position]);
    }
    // The acknowledgements are framed as 8 bytes from here on; bytes left from another framing
    // would keep that count from ever being met.
    m_link.enter(ProtocolMode::AckChain, Reply::Emptied);
    readEdits();
    refreshSentCopy();

    // Kept in the parameter store so that the next parameter file carries the frame.
    const ParameterEntry& axisEntry = ParameterCatalogue::at(kAxisCountCode);
    ParameterCatalogue::storeSent(m_store, axisEntry, ControlValue{position}, m_sent.axisCount);
    for (int i = 0; i < kNumbers; ++i) {
        const ParameterEntry& entry = ParameterCatalogue::at(kNumberCodes[i]);
        ParameterCatalogue::storeSent(m_store, entry, ControlValue{m_sent.numbers[i]},
                                      m_sent.numbers[i]);
    }
    m_link.sendSet(kAxisCountCode, m_sent.axisCount);
}

void FrameDialogLogic::hide() {
    m_model.setVisible(ids::frame::kDialog, false);
}

bool FrameDialogLogic::onAcknowledgement(std::string_view prefix) {
    if (prefix.size() < 2 || prefix[0] != 'S') {
        return false;
    }
    // The acknowledgement of code k asks for l, that of l for m, and so on; y's ends the chain.
    const std::size_t at = kChain.find(prefix[1]);
    if (at == std::string_view::npos) {
        return false;
    }
    if (at + 1 == kChain.size()) {
        if (!m_saving) {
            return false;
        }
        m_saving = false;
        m_result({.exchange = Exchange::FrameSave});
        return true;
    }
    m_link.enter(ProtocolMode::AckChain);
    sendNumber(kNumberCodes[at], m_sent.numbers[at]);
    return true;
}

void FrameDialogLogic::redrawFromReadback() {
    if (m_created) {
        redraw();
    }
}

void FrameDialogLogic::readEdits() {
    for (char code : kExchangeOrder) {
        const ControlKey key = editOf(code);
        const ControlState& shown = m_model.get(key);
        const auto parsed = integerText(shown.text);
        if (!parsed) {
            m_prompts.message({kNotAnInteger, pick(m_language(), kTitleChinese, kTitleEnglish),
                               MessageButtons::Ok, MessageIcon::Warning, MessageResult::Ok});
            focus(key);
            return;
        }
        m_model.setNumber(key, *parsed);
    }
}

void FrameDialogLogic::refreshSentCopy() {
    m_sent.axisCount = m_model.value(ids::frame::kAxisCount);
    for (int i = 0; i < kNumbers; ++i) {
        m_sent.numbers[i] = number(i);
    }
}

void FrameDialogLogic::redraw() {
    readEdits();
    refreshSentCopy();
    // The numbers go back to their edits; a refused text gives way to the number kept.
    for (int i = 0; i < kNumbers; ++i) {
        m_model.setNumber(edit(i), m_sent.numbers[i]);
    }
    if (!checkCoordinates()) {
        m_ready = false;
        publish(FramePlan::emptyPlan());
        return;
    }
    FrameGeometry frame;
    frame.axisCount = m_sent.axisCount;
    frame.maxX = m_sent.numbers[0];
    frame.maxY = m_sent.numbers[1];
    for (int n = 0; n < FrameGeometry::kMotors; ++n) {
        frame.x[n] = m_sent.numbers[kFirstCoordinate + 2 * n];
        frame.y[n] = m_sent.numbers[kFirstCoordinate + 2 * n + 1];
        frame.reversed[n] = m_model.value({kFrame, reverseBoxes()[n]}) != 0;
    }
    publish(FramePlan::draw(frame));
}

bool FrameDialogLogic::checkCoordinates() {
    for (int i = kFirstCoordinate; i < kNumbers; ++i) {
        const bool isX = (i - kFirstCoordinate) % 2 == 0;
        const long long limit = m_sent.numbers[isX ? 0 : 1];
        const long long value = m_sent.numbers[i];
        if (value > limit || value < -limit) {
            if (isX) {
                message(kXBeyond[0], kXBeyond[1]);
            } else {
                message(kYBeyond[0], kYBeyond[1]);
            }
            focus(edit(i));
            return false;
        }
    }
    return true;
}

void FrameDialogLogic::publish(std::vector<PlanItem> plan) {
    m_plan = std::move(plan);
    m_model.setValue(ids::frame::kPlan, m_model.value(ids::frame::kPlan) + 1);
}

void FrameDialogLogic::focus(ControlKey key) {
    // Set anew each time, so that asking for the same control twice is seen twice.
    m_model.setValue(ids::frame::kFocus, 0);
    m_model.setValue(ids::frame::kFocus, key.id);
}

void FrameDialogLogic::message(const char* chinese, const char* english) {
    m_prompts.message({pick(m_language(), chinese, english),
                       pick(m_language(), kTitleChinese, kTitleEnglish), MessageButtons::Ok,
                       MessageIcon::Warning, MessageResult::Ok});
}

void FrameDialogLogic::sendNumber(char code, int number) {
    m_link.sendSet(code, ParameterCatalogue::encode(code, ControlValue{number}, 0).value_or(0));
}

int FrameDialogLogic::number(int wireIndex) const {
    return m_model.value(edit(wireIndex));
}

}  // namespace orva
