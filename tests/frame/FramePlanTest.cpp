#include <gtest/gtest.h>

#include <climits>

#include "frame/FramePlan.h"

namespace orva {
namespace {

using Item = PlanItem;
using Kind = PlanItem::Kind;

std::vector<Item> ofKind(const std::vector<Item>& items, Kind kind) {
    std::vector<Item> out;
    for (const Item& item : items) {
        if (item.kind == kind) {
            out.push_back(item);
        }
    }
    return out;
}

// The outline is every line after the two axes.
std::vector<Item> outline(const std::vector<Item>& items) {
    std::vector<Item> lines = ofKind(items, Kind::Line);
    lines.erase(lines.begin(), lines.begin() + 2);
    return lines;
}

FrameGeometry square() {
    FrameGeometry f;
    f.axisCount = 4;
    f.maxX = 100;
    f.maxY = 100;
    f.x = {100, -100, -100, 100, 0, 0};
    f.y = {100, 100, -100, -100, 0, 0};
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
    FrameGeometry f = square();
    std::vector<Item> lines = outline(FramePlan::draw(f));
    // (100, 100) plots at (580, 70), (-100, 100) at (420, 70) and so on.
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].from, (Item::Point{580, 70}));
    EXPECT_EQ(lines[0].to, (Item::Point{420, 70}));
    EXPECT_EQ(lines[1].to, (Item::Point{420, 230}));
    EXPECT_EQ(lines[2].to, (Item::Point{580, 230}));
    EXPECT_EQ(lines[3].to, (Item::Point{580, 70}));

    // Six motors numbered clockwise from +X are still joined counter-clockwise: 1, 6, 5, ...
    f.axisCount = 6;
    f.x = {100, 50, -50, -100, -50, 50};
    f.y = {0, -80, -80, 0, 80, 80};
    std::array<double, 6> plotX{};
    for (int n = 0; n < 6; ++n) {
        plotX[n] = f.x[n] * 0.8 + 500.0;
    }
    EXPECT_EQ(FramePlan::outlineOrder(f, 6, plotX, 100), (std::vector<int>{0, 5, 4, 3, 2, 1}));
    lines = outline(FramePlan::draw(f));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines.back().to, lines.front().from);
}

TEST(FramePlanTest, EqualAnglesPutTheLargerXFirst) {
    FrameGeometry f = square();
    // Motors 1 and 2 on one ray at 45 degrees, motor 2 farther out.
    f.x = {20, 60, -100, 100, 0, 0};
    f.y = {20, 60, -100, -100, 0, 0};
    std::array<double, 6> plotX{};
    for (int n = 0; n < 6; ++n) {
        plotX[n] = f.x[n] * 0.8 + 500.0;
    }
    EXPECT_EQ(FramePlan::outlineOrder(f, 4, plotX, 100), (std::vector<int>{1, 0, 2, 3}));

    // Two motors on the positive Y axis have equal X: they stay in motor-number order.
    f.x = {0, 0, -100, 100, 0, 0};
    f.y = {90, 30, -100, -100, 0, 0};
    for (int n = 0; n < 6; ++n) {
        plotX[n] = f.x[n] * 0.8 + 500.0;
    }
    EXPECT_EQ(FramePlan::outlineOrder(f, 4, plotX, 100), (std::vector<int>{0, 1, 2, 3}));
}

TEST(FramePlanTest, AxisCountDecidesMarksAndOutline) {
    FrameGeometry f = square();
    f.x[4] = 50;
    f.x[5] = -50;
    // Four axes: no marks for motors 5 and 6 whatever their numbers.
    std::vector<Item> items = FramePlan::draw(f);
    EXPECT_EQ(ofKind(items, Kind::Fill).size(), 5u);
    EXPECT_EQ(outline(items).size(), 4u);

    f.axisCount = 6;
    items = FramePlan::draw(f);
    EXPECT_EQ(ofKind(items, Kind::Fill).size(), 7u);
    EXPECT_EQ(outline(items).size(), 6u);

    // Any other count: four marks, no outline.
    f.axisCount = 0;
    items = FramePlan::draw(f);
    EXPECT_EQ(ofKind(items, Kind::Fill).size(), 5u);
    EXPECT_TRUE(outline(items).empty());
}

TEST(FramePlanTest, DegenerateFramesDrawSafely) {
    // Everything 0: no scale, the axes only.
    FrameGeometry f;
    EXPECT_EQ(FramePlan::draw(f), FramePlan::emptyPlan());
    // Negative maxima: no scale either.
    f.maxX = -10;
    f.maxY = -20;
    f.x[0] = -5;
    EXPECT_EQ(FramePlan::draw(f), FramePlan::emptyPlan());

    // A scale of 80 pixels per millimetre and coordinates at the ends of the int range stay
    // far off the canvas without overflowing.
    f.maxX = 1;
    f.maxY = 0;
    f.x = {INT_MAX, INT_MIN, 1, -1, 0, 0};
    f.y = {INT_MIN, INT_MAX, -1, 1, 0, 0};
    const std::vector<Item> items = FramePlan::draw(f);
    const std::vector<Item> marks = ofKind(items, Kind::Fill);
    ASSERT_EQ(marks.size(), 5u);
    EXPECT_GT(marks[1].from.x, 1000000);
    EXPECT_GT(marks[1].from.y, 1000000);
    EXPECT_LT(marks[2].from.x, -1000000);
    EXPECT_EQ(marks[3].from, (Item::Point{578, 228}));  // (1, -1) at (580, 230)
    EXPECT_EQ(outline(items).size(), 4u);

    // All motors on one spot: a degenerate outline through one point.
    FrameGeometry same = square();
    same.x = {10, 10, 10, 10, 0, 0};
    same.y = {10, 10, 10, 10, 0, 0};
    const std::vector<Item> lines = outline(FramePlan::draw(same));
    ASSERT_EQ(lines.size(), 4u);
    for (const Item& l : lines) {
        EXPECT_EQ(l.from, l.to);
    }
}

}  // namespace
}  // namespace orva
