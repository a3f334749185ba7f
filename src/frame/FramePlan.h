#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orva {

struct PlanColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const PlanColour&) const = default;
};

// One drawing step on the dialog's client area, in pixels, x to the right and y downwards:
// a rectangle filled with a solid brush (from `from` to `to`, `to` excluded as on the
// dialog's own fill), a line drawn with a 1-pixel solid pen, or a text written at `from` with a
// transparent background.
struct PlanItem {
    enum class Kind { Fill, Line, Text };
    struct Point {
        int x = 0;
        int y = 0;
        bool operator==(const Point&) const = default;
    };
    Kind kind = Kind::Line;
    Point from;
    Point to;
    PlanColour colour;
    std::string text;
    bool operator==(const PlanItem&) const = default;
};

// What the plan is drawn from: the sent copy of the frame numbers, the reverse flags and the
// axis count.
struct FrameGeometry {
    static constexpr int kMotors = 6;
    int axisCount = 4;
    int maxX = 0;
    int maxY = 0;
    std::array<int, kMotors> x{};
    std::array<int, kMotors> y{};
    std::array<bool, kMotors> reversed{};
};

// The plan of an irregular frame: the axes through the centre of gravity, a square, name and
// propeller arrow at every motor, and the outline through the motors in order of their angle
// around the centre. Pure computation; the view paints the items in order.
class FramePlan {
  public:
    static constexpr int kCanvasLeft = 382;
    static constexpr int kCanvasTop = 35;
    static constexpr int kCanvasRight = 601;
    static constexpr int kCanvasBottom = 287;
    static constexpr double kOriginX = 500.0;
    static constexpr double kOriginY = 150.0;
    static constexpr double kReach = 80.0;  // pixels from the origin to the farthest motor

    static constexpr PlanColour kBackground{212, 208, 200};
    static constexpr PlanColour kRed{255, 0, 0};
    static constexpr PlanColour kMotorBrush{255, 100, 128};
    static constexpr PlanColour kBlack{0, 0, 0};
    static constexpr PlanColour kBlue{0, 0, 255};

    // The cleared canvas with the axes and their labels: what every redraw starts from, and all
    // that is drawn when a number is rejected.
    static std::vector<PlanItem> emptyPlan();
    // The whole plan. Without a usable scale (both maxima 0 or less) only the empty plan.
    static std::vector<PlanItem> draw(const FrameGeometry& frame);

    // The polar angle of (x, y) counter-clockwise from +X, in [0, 2*pi), times 10000, in the
    // single precision the outline is sorted by.
    static float motorAngle(float x, float y);
    // Motor indices (0-based) of the outline's vertices, in drawing order, for the first `count`
    // motors. `plotX` holds each motor's plot x in pixels; `scaleBase` is the larger maximum.
    static std::vector<int> outlineOrder(const FrameGeometry& frame, int count,
                                         const std::array<double, FrameGeometry::kMotors>& plotX,
                                         int scaleBase);
};

}  // namespace orva
