#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "UiHarness.h"
#include "model/ControlIds.h"
#include "ui/FrameDialog.h"
#include "ui/FramePlanView.h"

using namespace orva;
using namespace orva::test;

namespace {

// A plan position on the dialog's client area, as a pixel of the plan view.
QPoint onView(int x, int y) {
    return {x - FramePlan::kCanvasLeft, y - FramePlan::kCanvasTop};
}

QColor colour(const PlanColour& c) {
    return QColor(c.red, c.green, c.blue);
}

}  // namespace

class FrameDialogTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void editOpensTheDialogAndItsPlanIsPainted();
};

void FrameDialogTest::editOpensTheDialogAndItsPlanIsPainted() {
    UiHarness ui;
    QVERIFY(ui.dialog.frameDialog() == nullptr);
    auto* edit = ui.control<QPushButton>(Dialog::Main, ids::main::kEditFrame.id);
    ui.core.model().setEnabled(ids::main::kEditFrame, true);
    QTest::mouseClick(edit, Qt::LeftButton);

    FrameDialog* frame = ui.dialog.frameDialog();
    QVERIFY(frame != nullptr);
    QVERIFY(frame->isVisible());
    QVERIFY(!frame->isModal());
    QCOMPARE(ui.port.takeWritten(), std::string("?V\r?k\r?k\r"));
    QCOMPARE(
        frame->windowTitle(),
        QStringLiteral("异形机架设置：请输入异形机架的相关参数(注意各参数说明)，并按[保存]按扭!"));
    auto* maxX = ui.control<QLineEdit>(Dialog::Frame, 1029);
    QCOMPARE(maxX->text(), QStringLiteral("650"));
    auto* motor5X = ui.control<QLineEdit>(Dialog::Frame, 1033);
    QVERIFY(!motor5X->isEnabled());

    // The empty canvas, the red X axis, and the four motors' marks at the origin.
    QImage plan = frame->plan()->grab().toImage();
    QCOMPARE(plan.pixelColor(onView(385, 40)), colour(FramePlan::kBackground));
    QCOMPARE(plan.pixelColor(onView(420, 150)), colour(FramePlan::kRed));
    QCOMPARE(plan.pixelColor(onView(499, 149)), colour(FramePlan::kMotorBrush));

    // Motor 1 typed to (300, 0): 300 * 80 / 650 + 500 = 536.9, drawn at 536.
    auto* motor1X = ui.control<QLineEdit>(Dialog::Frame, 1031);
    motor1X->selectAll();
    QTest::keyClicks(motor1X, "300");
    plan = frame->plan()->grab().toImage();
    QCOMPARE(plan.pixelColor(onView(535, 149)), colour(FramePlan::kMotorBrush));
    QCOMPARE(ui.port.takeWritten(), std::string());

    // Six axes: sent at once, motors 5 and 6 in use.
    auto* axes = ui.control<QComboBox>(Dialog::Frame, 1215);
    axes->setFocus();
    QTest::keyClick(axes, Qt::Key_Down);
    QCOMPARE(ui.port.takeWritten(), std::string("Sk0006\r"));
    QVERIFY(motor5X->isEnabled());

    // A reverse box is written at once.
    QTest::mouseClick(ui.control<QCheckBox>(Dialog::Frame, 1057), Qt::LeftButton);
    QCOMPARE(ui.port.takeWritten(), std::string("Sz0002\r"));

    // Cancel hides; the next opening shows the same window with the same values.
    QTest::mouseClick(ui.control<QPushButton>(Dialog::Frame, 2), Qt::LeftButton);
    QVERIFY(!frame->isVisible());
    QTest::mouseClick(edit, Qt::LeftButton);
    QCOMPARE(ui.dialog.frameDialog(), frame);
    QVERIFY(frame->isVisible());
    QCOMPARE(motor1X->text(), QStringLiteral("300"));
    QCOMPARE(ui.port.takeWritten(), std::string("?V\r?k\r"));

    // Save starts the chain with the axis count.
    QTest::mouseClick(ui.control<QPushButton>(Dialog::Frame, 1000), Qt::LeftButton);
    QCOMPARE(ui.port.takeWritten(), std::string("?V\rSk0006\r"));
    ui.port.receive("Sk0006\r\n");
    QCOMPARE(ui.port.takeWritten(), std::string("Sl0650\r"));

    // The close box hides it as Cancel does.
    frame->close();
    QVERIFY(!frame->isVisible());
    QVERIFY(!ui.core.model().visible(ids::frame::kDialog));
}

QTEST_MAIN(FrameDialogTest)
#include "FrameDialogTest.moc"
