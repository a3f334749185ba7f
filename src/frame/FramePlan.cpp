#include "frame/FramePlan.h"

#include <algorithm>
#include <cmath>

namespace orva {
namespace {

using Item = PlanItem;
using Point = PlanItem::Point;

// The angles are kept at exactly these values and precisions (single-precision pi among them):
// the outline order depends on exact ties between them.
constexpr float kAngleFactor = 10000.0f;
constexpr float kAngleSentinel = 100000.0f;
constexpr float kPositiveYAxis = 15707.963f;
constexpr float kNegativeYAxis = 47123.887f;
constexpr float kNegativeXAxis = 31415.926f;
constexpr double kPiDouble = 3.1415926;
constexpr float kPiSingle = 3.1415925f;
constexpr float kTwoPiSingle = 6.283185f;

// Far enough outside any canvas to draw nothing visible, near enough to stay an int after the
// offsets of a motor mark.
constexpr double kPixelLimit = 1.0e7;

constexpr int kMarkHalf = 2;
constexpr int kNameRaise = 2;
constexpr int kArrowRaise = 16;
constexpr const char* kForwardArrow = "<---";
constexpr const char* kReverseArrow = "--->";
constexpr const char* kMotorNames[FrameGeometry::kMotors] = {"M1", "M2", "M3", "M4", "M5", "M6"};

int pixel(double position) {
    return static_cast<int>(std::clamp(position, -kPixelLimit, kPixelLimit));
}

Item fill(Point from, Point to, PlanColour colour) {
    return {Item::Kind::Fill, from, to, colour, {}};
}

Item line(Point from, Point to, PlanColour colour) {
    return {Item::Kind::Line, from, to, colour, {}};
}

Item text(Point at, PlanColour colour, std::string words) {
    return {Item::Kind::Text, at, at, colour, std::move(words)};
}

void addMotorMark(std::vector<Item>& items, Point at, int motor, bool reversed) {
    items.push_back(fill({at.x - kMarkHalf, at.y - kMarkHalf}, {at.x + kMarkHalf, at.y + kMarkHalf},
                         FramePlan::kMotorBrush));
    const Point name{at.x + kNameRaise, at.y - kNameRaise};
    const Point arrow{at.x + kNameRaise, at.y - kArrowRaise};
    if (reversed) {
        items.push_back(text(name, FramePlan::kBlue, kMotorNames[motor]));
        items.push_back(text(arrow, FramePlan::kBlue, kReverseArrow));
    } else {
        items.push_back(text(arrow, FramePlan::kBlack, kForwardArrow));
        items.push_back(text(name, FramePlan::kBlack, kMotorNames[motor]));
    }
}

}  // namespace

std::vector<PlanItem> FramePlan::emptyPlan() {
    return {
        fill({kCanvasLeft, kCanvasTop}, {kCanvasRight, kCanvasBottom}, kBackground),
        line({390, 150}, {593, 150}, kRed),
        line({500, 270}, {500, 40}, kRed),
        text({586, 142}, kBlack, ">x"),
        text({498, 41}, kBlack, "^Y"),
        text({500, 156}, kBlack, "O"),
    };
}

std::vector<PlanItem> FramePlan::draw(const FrameGeometry& frame) {
    std::vector<Item> items = emptyPlan();
    const int scaleBase = frame.maxX >= frame.maxY ? frame.maxX : frame.maxY;
    if (scaleBase <= 0) {
        return items;  // no scale: the axes are all there is to draw
    }
    const double scale = kReach / scaleBase;

    constexpr int kMotors = FrameGeometry::kMotors;
    std::array<double, kMotors> plotX{};
    std::array<Point, kMotors> points{};
    for (int n = 0; n < kMotors; ++n) {
        plotX[n] = frame.x[n] * scale + kOriginX;
        const double plotY = kOriginY - frame.y[n] * scale;
        points[n] = {pixel(plotX[n]), pixel(plotY)};
    }

    const int marked = frame.axisCount == 6 ? 6 : 4;
    for (int n = 0; n < marked; ++n) {
        addMotorMark(items, points[n], n, frame.reversed[n]);
    }

    const int outlined = frame.axisCount == 6 || frame.axisCount == 4 ? frame.axisCount : 0;
    if (outlined == 0) {
        return items;
    }
    const std::vector<int> order = outlineOrder(frame, outlined, plotX, scaleBase);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int from = order[i];
        const int to = order[(i + 1) % order.size()];
        items.push_back(line(points[from], points[to], kRed));
    }
    return items;
}

float FramePlan::motorAngle(float x, float y) {
    if (y > 0) {
        if (x == 0) {
            return kPositiveYAxis;
        }
        const float t = y / x;
        if (x > 0) {
            return std::atan(t) * kAngleFactor;
        }
        return static_cast<float>((std::atan(t) + kPiDouble) * kAngleFactor);
    }
    if (y < 0) {
        if (x == 0) {
            return kNegativeYAxis;
        }
        const float t = y / x;
        if (x < 0) {
            return (std::atan(t) + kPiSingle) * kAngleFactor;
        }
        return (std::atan(t) + kTwoPiSingle) * kAngleFactor;
    }
    return x < 0 ? kNegativeXAxis : 0.0f;
}

std::vector<int> FramePlan::outlineOrder(const FrameGeometry& frame, int count,
                                         const std::array<double, FrameGeometry::kMotors>& plotX,
                                         int scaleBase) {
    count = std::clamp(count, 0, FrameGeometry::kMotors);
    std::array<float, FrameGeometry::kMotors> angle{};
    for (int n = 0; n < count; ++n) {
        angle[n] = motorAngle(static_cast<float>(frame.x[n]), static_cast<float>(frame.y[n]));
    }

    std::vector<int> order;
    std::array<bool, FrameGeometry::kMotors> placed{};
    for (int position = 0; position < count; ++position) {
        float best = kAngleSentinel;
        int found = -1;
        for (int n = 0; n < count; ++n) {
            if (!placed[n] && angle[n] < best) {
                best = angle[n];
                found = n;
            }
        }
        if (found < 0) {
            break;  // angles stay below 2*pi*10000; the sentinel is never reached
        }
        placed[found] = true;
        // On one ray from the centre the motor farther along +X is joined first. The earlier
        // vertex's X is taken back from where it was plotted.
        if (!order.empty() && angle[found] == angle[order.back()]) {
            const double earlierX = (plotX[order.back()] - kOriginX) * scaleBase / kReach;
            if (frame.x[found] > earlierX) {
                order.insert(order.end() - 1, found);
                continue;
            }
        }
        order.push_back(found);
    }
    return order;
}

}  // namespace orva
