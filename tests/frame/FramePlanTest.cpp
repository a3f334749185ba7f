#include <gtest/gtest.h>

#include <climits>

#include "frame/FramePlan.h"

namespace orva {
namespace {

using Item = PlanItem;
using Kind = PlanItem::Kind;
using Point = PlanItem::Point;
using Path = std::vector<Point>;

std::vector<Item> ofKind(const std::vector<Item>& items, Kind kind) {
    std::vector<Item> out;
    for (const Item& item : items) {
        if (item.kind == kind) {
            out.push_back(item);
        }
    }
    return out;
}

// The outline, every line after the two axes, as the path the pen takes: a point is repeated
// only where a line does not start at the end of the one before.
Path outline(const std::vector<Item>& items) {
    Path out;
    const std::vector<Item> lines = ofKind(items, Kind::Line);
    for (std::size_t i = 2; i < lines.size(); ++i) {
        if (out.empty() || !(out.back() == lines[i].from)) {
            out.push_back(lines[i].from);
        }
        out.push_back(lines[i].to);
    }
    return out;
}

// Maxima of 100 mm: 0.8 pixels per millimetre around (500, 150).
FrameGeometry frame(int axes, std::array<int, 6> x, std::array<int, 6> y) {
    FrameGeometry f;
    f.axisCount = axes;
    f.maxX = 100;
    f.maxY = 100;
    f.x = x;
    f.y = y;
    return f;
}

TEST(FramePlanTest, EmptyPlanClearsTheCanvasAndDrawsTheAxes) {
    const std::vector<Item> expected = {
        {Kind::Fill, {382, 35}, {601, 287}, {212, 208, 200}, ""},
        {Kind::Line, {390, 150}, {593, 150}, {255, 0, 0}, ""},  // X axis
        {Kind::Line, {500, 270}, {500, 40}, {255, 0, 0}, ""},   // Y axis
        {Kind::Text, {586, 142}, {586, 142}, {0, 0, 0}, ">x"},
        {Kind::Text, {498, 41}, {498, 41}, {0, 0, 0}, "^Y"},
        {Kind::Text, {500, 156}, {500, 156}, {0, 0, 0}, "O"},
    };
    EXPECT_EQ(FramePlan::emptyPlan(), expected);
    // No scale without a positive maximum: the axes only.
    FrameGeometry f;
    EXPECT_EQ(FramePlan::draw(f), expected);
    f.maxX = -10;
    f.maxY = -20;
    f.x[0] = -5;
    EXPECT_EQ(FramePlan::draw(f), expected);
}

TEST(FramePlanTest, MotorsArePlottedOnTheLargerMaximumsScale) {
    FrameGeometry f;
    f.maxX = 650;
    f.maxY = 600;
    f.x[0] = 300;
    f.y[0] = -250;
    f.reversed[1] = true;
    const std::vector<Item> items = FramePlan::draw(f);

    // 300 * 80 / 650 + 500 = 536.92 and 150 + 250 * 80 / 650 = 180.77, truncated.
    const std::vector<Item> marks = ofKind(items, Kind::Fill);
    ASSERT_EQ(marks.size(), 5u);  // the canvas and motors 1 to 4
    EXPECT_EQ(marks[1], (Item{Kind::Fill, {534, 178}, {538, 182}, {255, 100, 128}, ""}));
    // Motor 2 at the origin.
    EXPECT_EQ(marks[2], (Item{Kind::Fill, {498, 148}, {502, 152}, {255, 100, 128}, ""}));

    const std::vector<Item> texts = ofKind(items, Kind::Text);
    // After the three axis labels: motor 1 forward in black, arrow first; motor 2 reversed in
    // blue, name first.
    EXPECT_EQ(texts[3], (Item{Kind::Text, {538, 164}, {538, 164}, {0, 0, 0}, "<---"}));
    EXPECT_EQ(texts[4], (Item{Kind::Text, {538, 178}, {538, 178}, {0, 0, 0}, "M1"}));
    EXPECT_EQ(texts[5], (Item{Kind::Text, {502, 148}, {502, 148}, {0, 0, 255}, "M2"}));
    EXPECT_EQ(texts[6], (Item{Kind::Text, {502, 134}, {502, 134}, {0, 0, 255}, "--->"}));
}

TEST(FramePlanTest, MotorAnglesFollowTheSinglePrecisionTable) {
    EXPECT_EQ(FramePlan::motorAngle(0, 0), 0.0f);
    EXPECT_EQ(FramePlan::motorAngle(5, 0), 0.0f);
    EXPECT_EQ(FramePlan::motorAngle(0, 5), 15707.962890625f);
    EXPECT_EQ(FramePlan::motorAngle(0, -5), 47123.88671875f);
    EXPECT_EQ(FramePlan::motorAngle(-5, 0), 31415.92578125f);
    EXPECT_NEAR(FramePlan::motorAngle(100, 100), 7853.98, 0.01);
    EXPECT_NEAR(FramePlan::motorAngle(-100, 100), 23561.94, 0.01);
    EXPECT_NEAR(FramePlan::motorAngle(-100, -100), 39269.91, 0.01);
    EXPECT_NEAR(FramePlan::motorAngle(100, -100), 54977.87, 0.01);
}

TEST(FramePlanTest, OutlineJoinsTheMotorsCounterClockwise) {
    struct Case {
        const char* name;
        FrameGeometry geometry;
        Path path;
    };
    const Case cases[] = {
        {"square: 1, 2, 3, 4",
         frame(4, {100, -100, -100, 100, 0, 0}, {100, 100, -100, -100, 0, 0}),
         {{580, 70}, {420, 70}, {420, 230}, {580, 230}, {580, 70}}},
        {"six numbered clockwise from +X: 1, 6, 5, 4, 3, 2",
         frame(6, {100, 50, -50, -100, -50, 50}, {0, -80, -80, 0, 80, 80}),
         {{580, 150}, {540, 86}, {460, 86}, {420, 150}, {460, 214}, {540, 214}, {580, 150}}},
        {"one ray at 45 degrees: the larger X first, 2, 1, 3, 4",
         frame(4, {20, 60, -100, 100, 0, 0}, {20, 60, -100, -100, 0, 0}),
         {{548, 102}, {516, 134}, {420, 230}, {580, 230}, {548, 102}}},
        {"two on +Y with equal X: motor order, 1, 2, 3, 4",
         frame(4, {0, 0, -100, 100, 0, 0}, {90, 30, -100, -100, 0, 0}),
         {{500, 78}, {500, 126}, {420, 230}, {580, 230}, {500, 78}}},
        {"all on one spot", frame(4, {10, 10, 10, 10, 0, 0}, {10, 10, 10, 10, 0, 0}),
         Path(5, {508, 142})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(outline(FramePlan::draw(c.geometry)), c.path) << c.name;
    }
}

TEST(FramePlanTest, AxisCountDecidesMarksAndOutline) {
    // Motors 5 and 6 hold numbers in every case; any count but 4 and 6 draws no outline.
    const std::tuple<int, std::size_t, std::size_t> cases[] = {{4, 5, 5}, {6, 7, 7}, {0, 5, 0}};
    for (const auto& [axes, fills, points] : cases) {
        const auto items = FramePlan::draw(
            frame(axes, {100, -100, -100, 100, 50, -50}, {100, 100, -100, -100, 0, 0}));
        EXPECT_EQ(ofKind(items, Kind::Fill).size(), fills) << axes;
        EXPECT_EQ(outline(items).size(), points) << axes;
    }
}

TEST(FramePlanTest, CoordinatesAtTheEndsOfTheIntRangeDoNotOverflow) {
    FrameGeometry f;
    f.maxX = 1;  // 80 pixels per millimetre
    f.x = {INT_MAX, INT_MIN, 1, -1, 0, 0};
    f.y = {INT_MIN, INT_MAX, -1, 1, 0, 0};
    const std::vector<Item> marks = ofKind(FramePlan::draw(f), Kind::Fill);
    ASSERT_EQ(marks.size(), 5u);
    EXPECT_GT(marks[1].from.x, 1000000);
    EXPECT_GT(marks[1].from.y, 1000000);
    EXPECT_LT(marks[2].from.x, -1000000);
    EXPECT_EQ(marks[3].from, (Point{578, 228}));  // (1, -1) at (580, 230)
}

}  // namespace
}  // namespace orva
