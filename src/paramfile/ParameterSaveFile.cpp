#include "paramfile/ParameterSaveFile.h"

#include <algorithm>
#include <array>
#include <climits>
#include <iterator>

#include "paramfile/GbkConverter.h"
#include "platform/LeadingInteger.h"
#include "settings/ParameterCatalogue.h"

namespace orva {
namespace {

// Stored values 0 to 54, one label each.
constexpr std::string_view kLeadingLabels[] = {
    "多轴模式 选择",  // 0
    "电调 输出模式",  // 1
    "舵机 输出模式",  // 2
    "主  稳  定 度",  // 3
    "辅 助  稳定度",  // 4
    "动 态   稳 定",  // 5
    "主 平   衡 度",  // 6
    "辅 助   平 衡",  // 7
    "方 向   稳 定",  // 8
    "方 向   锁 定",  // 9
    "高 度   锁 定",  // 10
    "辅  助  高 度",  // 11
    "高  度 稳  定",  // 12
    "定点回中力 度",  // 13
    "定点抗风力 度",  // 14
    "定点动态阻 尼",  // 15
    "一键返航速 度",  // 16
    "云台 俯仰比例",  // 17
    "云台 横滚比例",  // 18
    "云台 Z 轴比例",  // 19
    "俯仰舵角限 制",  // 20
    "横滚舵角限 制",  // 21
    " Z 轴舵角限制",  // 22
    "俯仰舵机中 点",  // 23
    "横滚舵机中 点",  // 24
    " Z 轴舵机中点",  // 25
    "报警电压 设置",  // 26
    "电 池 1 电 压",  // 27
    "电 池 2 电 压",  // 28
    "电 池 3 电 压",  // 29
    "电 池 4 电 压",  // 30
    "电         池",  // 31
    "接   收    机",  // 32
    "陀   螺    仪",  // 33
    "加 速 度   计",  // 34
    "磁 传 感   器",  // 35
    "气    压   计",  // 36
    "超声波 传感器",  // 37
    "GPS 传  感 器",  // 38
    "接收 CH1 反向",  // 39
    "接收 CH2 反向",  // 40
    "接收 CH3 反向",  // 41
    "接收 CH4 反向",  // 42
    "接收 CH5 反向",  // 43
    "接收 CH6 反向",  // 44
    "接收 CH7 反向",  // 45
    "接收 CH8 反向",  // 46
    "输出M/S1 反向",  // 47
    "输出M/S2 反向",  // 48
    "输出M/S3 反向",  // 49
    "输出M/S4 反向",  // 50
    "输出M/S5 反向",  // 51
    "输出M/S6 反向",  // 52
    "输出M/S7 反向",  // 53
    "输出M/S8 反向",  // 54
};
// Stored values 175 to 190: the custom frame's numbers, then the magnetic declination.
constexpr std::string_view kTrailingLabels[] = {
    "异形多轴轴 数",  // 175
    "X方向轴最大值",  // 176
    "Y方向轴最大值",  // 177
    "1号电机横坐标",  // 178
    "1号电机纵坐标",  // 179
    "2号电机横坐标",  // 180
    "2号电机纵坐标",  // 181
    "3号电机横坐标",  // 182
    "3号电机纵坐标",  // 183
    "4号电机横坐标",  // 184
    "4号电机纵坐标",  // 185
    "5号电机横坐标",  // 186
    "5号电机纵坐标",  // 187
    "6号电机横坐标",  // 188
    "6号电机纵坐标",  // 189
    "本地 磁 偏 角",  // 190
};

// The function matrix: ten rows of twelve lines, CH5 low to CH8 high. Each row's label is its
// pattern with the channel digit and the position character put in.
constexpr int kMatrixFirst = 55;
constexpr int kMatrixLast = 174;
constexpr int kMatrixRowLines = 12;
constexpr std::string_view kMatrixPatterns[] = {
    "自稳  CH5  低",  // a
    "3D特技 CH5 低",  // b
    "定高  CH5  低",  // c
    "锁定航向CH5低",  // d
    "无向CF CH5 低",  // e
    "云台增稳CH5低",  // f
    "Z 轴跟随CH5低",  // =
    "松杆定点CH5低",  // g
    "一键返航CH5低",  // h
    "自动降落CH5低",  // i
};
constexpr std::string_view kPatternChannel = "CH5";
constexpr std::string_view kPatternPosition = "低";
constexpr std::string_view kPositions[] = {"低", "中", "高"};

constexpr int kTrailingFirst = 175;
// Stored values written with four digits at least: settings, the alarm voltage, the declination.
constexpr int kPaddedLast = 26;
constexpr int kDeclinationSlot = 190;
// The custom frame's numbers are written shifted into positive range, then the shift itself.
constexpr int kFrameShift = 5000;
constexpr std::string_view kFrameShiftText = "-5000";

constexpr std::string_view kPortText = "当 前 串口COM";

constexpr std::string_view kRemarks[] = {
    "特别备注：1.本处列出的“俯仰舵机中点，横滚中点与z轴中点值=软件显示值+50后所得",
    "特别备注：2.异形多轴的相关数据减去5000才是正常坐标值，并且只有使用这个界面，",
    "特别备注：\u3000并按“保存按扭后，才有相应数据。否则为0",
    "特别备注：3.异形多轴数据不能自动恢复到飞控中",
};

static_assert(std::size(kLeadingLabels) == kMatrixFirst);
static_assert(std::size(kMatrixPatterns) * kMatrixRowLines == kMatrixLast - kMatrixFirst + 1);
static_assert(kTrailingFirst + std::size(kTrailingLabels) == ParameterSaveFile::kStoredValues);
static_assert(std::size(kRemarks) == ParameterSaveFile::kRemarkLines);

std::string matrixLabel(int slot) {
    const int row = (slot - kMatrixFirst) / kMatrixRowLines;
    const int bit = (slot - kMatrixFirst) % kMatrixRowLines;
    std::string text(kMatrixPatterns[row]);
    const std::size_t channel = text.find(kPatternChannel);
    text[channel + kPatternChannel.size() - 1] = static_cast<char>('5' + bit / 3);
    text.replace(text.find(kPatternPosition), kPatternPosition.size(), kPositions[bit % 3]);
    return text;
}

}  // namespace

std::string ParameterSaveFile::label(int slot) {
    if (slot < 0 || slot >= kStoredValues) {
        return {};
    }
    if (slot < kMatrixFirst) {
        return std::string(kLeadingLabels[slot]);
    }
    if (slot <= kMatrixLast) {
        return matrixLabel(slot);
    }
    return std::string(kTrailingLabels[slot - kTrailingFirst]);
}

std::string ParameterSaveFile::valueText(int slot, int value) {
    if (slot >= kTrailingFirst && slot < kDeclinationSlot) {
        return std::to_string(value + kFrameShift) + std::string(kFrameShiftText);
    }
    const bool padded = slot <= kPaddedLast || slot == kDeclinationSlot;
    if (!padded || value < 0) {
        return std::to_string(value);
    }
    // "000" before one digit, "00" before two, "0" before three or more.
    std::string digits = std::to_string(value);
    const std::size_t zeros = digits.size() >= 3 ? 1 : 4 - digits.size();
    return std::string(zeros, '0') + digits;
}

std::string ParameterSaveFile::portLine(int portNumber) {
    std::string digits = std::to_string(portNumber);
    if (portNumber >= 0 && portNumber < 10) {
        digits.insert(0, "0");
    }
    return std::string(kPortText) + digits;
}

std::string_view ParameterSaveFile::remark(int index) {
    return index >= 0 && index < kRemarkLines ? kRemarks[index] : std::string_view{};
}

std::optional<std::string> ParameterSaveFile::compose(const ParameterStore& store,
                                                      int portPosition) {
    std::string text = portLine(portPosition + 1);
    text += kLineEnd;
    for (int slot = 0; slot < kStoredValues; ++slot) {
        text += label(slot);
        text += valueText(slot, store.get(slot));
        text += kLineEnd;
    }
    for (int i = 0; i < kRemarkLines; ++i) {
        text += kRemarks[i];
        if (i + 1 < kRemarkLines) {
            text += kLineEnd;
        }
    }
    return GbkConverter::toGbk(text);
}

}  // namespace orva

namespace orva {
namespace {

struct Range {
    int low;
    int high;
};

// What Save Data can find in a stored value that a restore sends: a list's position plus 1, a
// check box's 1 or 0, a number the read-back keeps (one outside its limits is kept as the
// fallback shown). Nothing for values it takes as they stand.
std::optional<Range> savedRange(int slot) {
    for (const ParameterEntry& e : ParameterCatalogue::entries()) {
        const auto slots = ParameterCatalogue::storeSlots(e);
        const bool sent = e.slot < kTrailingFirst || slot == kDeclinationSlot;
        if (!sent || slot < slots.first || slot >= slots.first + slots.count) {
            continue;
        }
        const ReadRule& r = e.rule;
        switch (e.onRead == StoreForm::None ? e.onSend : e.onRead) {
            case StoreForm::IndexPlusOne:
                return Range{1, static_cast<int>(e.indexMap.size())};
            case StoreForm::PerBox:
                return Range{0, 1};
            case StoreForm::Shown:
                if (r.divisor != 1) {
                    return std::nullopt;
                }
                return Range{std::min(r.min - r.offset, r.fallback),
                             std::max(r.max - r.offset, r.fallback)};
            case StoreForm::Wire:
                if (e.encoding == Encoding::VersionOffset) {
                    return Range{std::min(r.min, e.oldRule.min), std::max(r.max, e.oldRule.max)};
                }
                return Range{r.min, r.max};
            case StoreForm::None:
                break;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<int> ParameterSaveFile::firstForeignLine(std::string_view bytes) {
    // The port number ends the first line; each value starts behind its label.
    ParameterStore store;
    int port = 0;
    std::size_t at = 0;
    std::optional<int> badValue;
    for (int line = 0; line <= kStoredValues && at < bytes.size(); ++line) {
        const std::size_t end = std::min(bytes.find(kLineEnd, at), bytes.size());
        const std::string_view text = bytes.substr(at, end - at);
        if (line == 0) {
            const std::size_t digits = text.find_last_not_of("0123456789") + 1;
            port = leadingInteger(text.substr(std::min(digits, text.size())));
        } else if (text.size() > static_cast<std::size_t>(kLabelBytes)) {
            const int slot = line - 1;
            const int value = leadingInteger(text.substr(kLabelBytes));
            // The frame's numbers are written shifted up, with the shift spelled out behind. A
            // number too far below zero to shift comes from no saved file: kept as read, it
            // makes its line differ below.
            const bool shifted =
                slot >= kTrailingFirst && slot < kDeclinationSlot && value >= INT_MIN + kFrameShift;
            store.set(slot, shifted ? value - kFrameShift : value);
            const auto range = savedRange(slot);
            if (!badValue && range && (value < range->low || value > range->high)) {
                badValue = line + 1;
            }
        }
        at = end + kLineEnd.size();
    }
    const std::optional<std::string> expected = compose(store, port - 1);
    if (expected && *expected == bytes) {
        return badValue;
    }
    const std::string_view written = expected ? std::string_view(*expected) : std::string_view();
    const auto differ = std::mismatch(bytes.begin(), bytes.end(), written.begin(), written.end());
    const std::string_view before = bytes.substr(0, differ.first - bytes.begin());
    const int differs = 1 + static_cast<int>(std::count(before.begin(), before.end(), '\n'));
    return badValue ? std::min(*badValue, differs) : differs;
}

}  // namespace orva
