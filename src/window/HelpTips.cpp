#include "window/HelpTips.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace orva {
namespace {

using D = Dialog;

constexpr std::string_view kTitle = "Halvane提示：";
constexpr std::string_view kDeclinationTitle = "Halvane提示：本地磁偏角设置";

struct SimpleTip {
    ControlKey label;
    std::string_view title;
    std::string_view text;
};

constexpr SimpleTip kMainTips[] = {
    {{D::Main, 1000},
     kTitle,
     "提示：请首先将Kivrel飞控连接电脑的USB接口，再从右侧列表框中选择您即将使用的串口：\n"
     "1. 飞控连接电脑后，系统会为它分配一个串口号，可在设备管理器的“端口(COM和LPT)”中查看；\n"
     "2. 选择串口后，程序立即打开该串口并自动读取飞控的全部参数；\n"
     "3. 右侧状态框显示“串口已打开”表示连接成功；若显示“串口未打开”，请检查连线或换选其他"
     "串口，再点击“刷新”重新连接。"},
    {{D::Main, 1002},
     kTitle,
     "提示：请根据您的机器从右侧列表框中选择多轴模式，通常使用的是4X模式(5. QUADX)。\n"
     "选择后新的模式立即写入飞控，程序随即重新打开串口并读取全部参数；"
     "选择“16. IRRET_SHAPE”时，可点击“编缉...”按扭自定义不规则机架的电机位置和转向。"},
    {{D::Main, 1003},
     kTitle,
     "提示：请根据您的机器从右侧列表框中选择输出模式，推荐使用330Hz(4. 330Hz (3ms))。\n"
     "请确认您的电调支持所选的刷新频率，不支持高频的电调请选择50Hz；选择后立即写入飞控。"},
    {{D::Main, 1013},
     kTitle,
     "提示：根据舵机输出频率选择相应的选项：50Hz对应模拟舵机，270Hz对应数字舵机；"
     "默认为50Hz。\n选择后立即写入飞控。"},
    {{D::Main, 1021},
     kTitle,
     "提示：请根据您的安装的设备勾选右侧相应的设备。\n"
     "已经安装但没有在此勾选的传感器，飞控将不会使用；勾选或取消后立即写入飞控。"},
    {{D::Main, 1020},
     kDeclinationTitle,
     "功能描述及使用说明：\n"
     "1. 请先查询您所在地区的本地磁偏角值；\n"
     "2. 在右侧输入框中输入磁偏角的度数，只能输入整数(例如磁偏角为1°09′时，请输入1)；\n"
     "3. 点击“设置”按扭并确认后，该值即写入飞控；\n"
     "4. 默认值为0，请不要随意输入。"},
    {{D::Custom, 1014},
     kTitle,
     "提示：请根据您的需要，自己定义相应功能选项：\n"
     "1. 某一功能的一行全部不选，表示不使用该功能；\n"
     "2. 请根据您将要使用的通道和开关档位进行选择；\n"
     "3. “自稳”与“3D”、“锁定航向”与“无向CF”在同一通道的同一开关档位上互相排斥；\n"
     "4. 选择“自动降落”时，同一位置的“定高”也被选中；取消“定高”时，同一位置的“自动降落”也被取消。"},
};

// The basic setup page's tips share their opening and differ in the parameter they name and its
// description.
constexpr std::string_view kSliderOpening =
    "提示：请拖动滑块到相应数值处(具体数值可参见滑条右侧的显示框)。";

struct SliderTip {
    int label;
    std::string_view parameter;
    std::string_view description;
};

constexpr SliderTip kBasicTips[] = {
    {1000, "主稳定度值",
     "主稳定度决定飞行器抵抗外界突然干扰的能力，数值越大，抗干扰能力越强。从零开始调试时，"
     "请先将平衡、方向和高度各参数设为零，再逐步增大本值，直到飞行器出现轻微抖动，然后稍微减小"
     "一些即可。"},
    {1001, "辅助稳定度值",
     "辅助稳定度使飞行器长时间精确地保持某一姿态。请在主稳定度基本调好后再逐步增大本值，直到"
     "飞行器出现缓慢的摇摆，然后稍微减小一些即可。"},
    {1002, "动态稳定度值",
     "动态稳定度用于抑制飞行器瞬间的抖动。数值过大会引起高频抖动；小型飞行器可以设为0。"},
    {1003, "主平衡度值",
     "主平衡度使飞行器迅速回到水平状态，只在新手(自动平衡)模式下有效。请逐步增大本值，直到"
     "飞行器出现振荡，然后稍微减小一些即可。"},
    {1004, "辅助平衡度值",
     "辅助平衡度使飞行器精确地修正到水平状态。请在主平衡度调好后再逐步增大本值，直到满意且"
     "不出现振荡为止。"},
    {1005, "方向稳定度值",
     "方向稳定度用于抑制飞行器绕竖直轴的自旋。请逐步增大本值，直到用手转动飞行器时各螺旋桨的"
     "转速有明显变化为止。"},
    {1006, "方向锁定度值",
     "方向锁定度使飞行器保持当前的航向(锁头)。请逐步增大本值，直到飞行器不再自旋为止。"},
    {1007, "高度锁定度值",
     "选择了气压计和超声波传感器时需要设置高度锁定度，一般取50到80较为合适；数值越大反应越快，"
     "但可能出现上下起伏。"},
    {1008, "辅助高度锁定值",
     "辅助高度锁定用于消除定高时的上下振荡；如果定高时飞行器上下起伏，请增大本值。"},
    {1009, "高度稳定值",
     "在地面不平或有杂物干扰超声波测距时需要设置高度稳定值，一般取50到80较为合适。"},
};

std::vector<HelpTip> buildTips() {
    std::vector<HelpTip> tips;
    for (const SimpleTip& t : kMainTips) {
        tips.push_back({t.label, std::string(t.title), std::string(t.text)});
    }
    for (const SliderTip& t : kBasicTips) {
        std::string text(kSliderOpening);
        text += "松开鼠标后，该数值即成为新的";
        text += t.parameter;
        text += "。\n描述：";
        text += t.description;
        tips.push_back({{D::Basic, t.label}, std::string(kTitle), std::move(text)});
    }
    return tips;
}

}  // namespace

std::span<const HelpTip> helpTips() {
    static const std::vector<HelpTip> kTips = buildTips();
    return kTips;
}

const HelpTip* findHelpTip(ControlKey label) {
    auto tips = helpTips();
    auto it =
        std::find_if(tips.begin(), tips.end(), [&](const HelpTip& t) { return t.label == label; });
    return it == tips.end() ? nullptr : &*it;
}

}  // namespace orva
