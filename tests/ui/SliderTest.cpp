#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include "UiHarness.h"

using namespace orva;
using namespace orva::test;

namespace {

// Basic setup page: the dynamic stability slider (code E) and its edit, and the auxiliary
// stability slider (code D).
constexpr int kDynamicSlider = 1040;
constexpr int kDynamicEdit = 1066;
constexpr int kAuxSlider = 1039;

std::string setFrame(char code, int value) {
    return "S" + std::string(1, code) + QString::asprintf("%04d", value).toStdString() + "\r";
}

}  // namespace

class SliderTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void keyboardShowsThePositionAndAReleaseSendsIt();
    void draggingSendsNothingUntilTheMouseLetsGo();
    void clickingBesideTheThumbSendsTheNewPositionOnRelease();
};

void SliderTest::keyboardShowsThePositionAndAReleaseSendsIt() {
    UiHarness ui;
    auto* slider = ui.control<QSlider>(Dialog::Basic, kDynamicSlider);
    auto* edit = ui.control<QLineEdit>(Dialog::Basic, kDynamicEdit);
    QVERIFY(slider && edit);
    slider->setFocus();
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(slider, Qt::Key_PageUp);
    }
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(slider, Qt::Key_Right);
    }
    QCOMPARE(slider->value(), 37);
    QCOMPARE(edit->text(), QStringLiteral("37"));
    QCOMPARE(ui.port.takeWritten(), std::string());

    // Pressing and letting go of the thumb without moving it sends the position again.
    const QPoint thumb = thumbCentre(slider);
    QTest::mousePress(slider, Qt::LeftButton, {}, thumb);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, thumb);
    QCOMPARE(ui.port.takeWritten(), std::string("SE0037\r"));
    QCOMPARE(slider->value(), 37);
}

void SliderTest::draggingSendsNothingUntilTheMouseLetsGo() {
    UiHarness ui;
    auto* slider = ui.control<QSlider>(Dialog::Basic, kDynamicSlider);
    auto* edit = ui.control<QLineEdit>(Dialog::Basic, kDynamicEdit);
    QVERIFY(slider && edit);
    QPoint at = thumbCentre(slider);
    QTest::mousePress(slider, Qt::LeftButton, {}, at);
    for (int step = 0; step < 4; ++step) {
        at += QPoint(15, 0);
        QTest::mouseMove(slider, at);
        QCOMPARE(edit->text(), QString::number(slider->sliderPosition()));
    }
    QVERIFY(slider->sliderPosition() > 0);
    QCOMPARE(ui.port.takeWritten(), std::string());

    QTest::mouseRelease(slider, Qt::LeftButton, {}, at);
    const std::string written = ui.port.takeWritten();
    QCOMPARE(written.size(), std::size_t{7});
    QCOMPARE(written, setFrame('E', slider->value()));
    QCOMPARE(edit->text(), QString::number(slider->value()));
}

void SliderTest::clickingBesideTheThumbSendsTheNewPositionOnRelease() {
    UiHarness ui;
    auto* slider = ui.control<QSlider>(Dialog::Basic, kAuxSlider);
    QVERIFY(slider);
    const QPoint beside(slider->width() - 4, thumbCentre(slider).y());
    QTest::mousePress(slider, Qt::LeftButton, {}, beside);
    QCOMPARE(slider->value(), 10);  // one page towards the click
    QCOMPARE(ui.port.takeWritten(), std::string());
    QTest::mouseRelease(slider, Qt::LeftButton, {}, beside);
    QCOMPARE(ui.port.takeWritten(), std::string("SD0010\r"));
}

QTEST_MAIN(SliderTest)
#include "SliderTest.moc"
