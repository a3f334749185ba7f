#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "UiHarness.h"
#include "model/ControlIds.h"
#include "settings/ParameterCatalogue.h"
#include "ui/WidgetFactory.h"

using namespace orva;
using namespace orva::test;

namespace {

// A query reply: the query echoed, one byte not read, four value characters, two bytes not read.
std::string reply(char code, const char* value) {
    return std::string("?") + code + "\r" + ":" + value + "\r\n";
}

}  // namespace

class ModelViewTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void readBackValuesShowWithoutBeingSentBack();
    void userChangesReachTheController();
    // Every control the catalogue names is in the window, of its kind, bound under the same key,
    // with the catalogue's range, tick and direction or number of items.
    void everyCatalogueControlIsBoundWithItsRange();
};

void ModelViewTest::readBackValuesShowWithoutBeingSentBack() {
    UiHarness ui;
    ui.port.receive(reply('V', "1220"));
    QCOMPARE(ui.control<QLineEdit>(Dialog::Main, ids::main::kVersionText.id)->text(),
             QStringLiteral("1.220"));
    QCOMPARE(ui.port.takeWritten(), std::string("?C\r"));

    // Main stability: slider 1038 and its edit 1251 on the basic setup page.
    ui.port.receive(reply('C', "0042"));
    QCOMPARE(ui.control<QSlider>(Dialog::Basic, 1038)->value(), 42);
    QCOMPARE(ui.control<QLineEdit>(Dialog::Basic, 1251)->text(), QStringLiteral("42"));
    QCOMPARE(ui.port.takeWritten(), std::string("?A\r"));

    // Multi-axis mode 5 selects "5. QUADX"; the list does not send it back.
    ui.port.receive(reply('A', "0005"));
    auto* multiAxis = ui.control<QComboBox>(Dialog::Main, ids::main::kMultiAxis.id);
    QCOMPARE(multiAxis->currentText(), QStringLiteral("5. QUADX"));
    QVERIFY(!ui.control<QPushButton>(Dialog::Main, ids::main::kEditFrame.id)->isEnabled());
    QCOMPARE(ui.port.takeWritten(), std::string("?B\r"));
}

void ModelViewTest::userChangesReachTheController() {
    UiHarness ui;
    // Each step down the ESC list is a selection; the fifth item is known to the controller as 7.
    auto* esc = ui.control<QComboBox>(Dialog::Main, ids::main::kEsc.id);
    esc->setFocus();
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(esc, Qt::Key_Down);
    }
    QCOMPARE(esc->currentText(), QStringLiteral("5. 400Hz (2.5ms)"));
    QCOMPARE(ui.port.takeWritten(), std::string("SB0002\rSB0003\rSB0004\rSB0007\r"));

    // The magnetic sensor alone is bit 4.
    QTest::mouseClick(ui.control<QCheckBox>(Dialog::Main, 1060), Qt::LeftButton);
    QCOMPARE(ui.port.takeWritten(), std::string("SM0016\r"));

    // A typed declination of -5 goes out with 180 added once the question is confirmed.
    auto* declination = ui.control<QLineEdit>(Dialog::Main, ids::main::kDeclination.id);
    declination->setFocus();
    QTest::keyClicks(declination, QStringLiteral("-5"));
    QTest::mouseClick(ui.control<QPushButton>(Dialog::Main, ids::main::kDeclinationSet.id),
                      Qt::LeftButton);
    QCOMPARE(ui.prompts.shown.size(), std::size_t{1});
    QCOMPARE(ui.port.takeWritten(), std::string("SQ0175\r"));
}

void ModelViewTest::everyCatalogueControlIsBoundWithItsRange() {
    UiHarness ui;
    ui.core.model().setEnabled(ids::main::kEditFrame, true);
    QTest::mouseClick(ui.control<QPushButton>(Dialog::Main, ids::main::kEditFrame.id),
                      Qt::LeftButton);
    for (const ParameterEntry& e : ParameterCatalogue::entries()) {
        const auto find = [&](int id) {
            return ui.dialog.findChild<QWidget*>(WidgetFactory::objectName({e.dialog, id}));
        };
        const QByteArray code(1, e.code);
        // The largest number and every box set, so that each widget shows whether it follows.
        ParameterCatalogue::toControls(ui.core.model(), e, {e.uiMax, 0xFFFFFFFFu});
        if (e.slider != 0) {
            auto* s = qobject_cast<QSlider*>(find(e.slider));
            QVERIFY2(s, code);
            QCOMPARE(std::tuple(s->minimum(), s->maximum(), s->tickInterval(),
                                s->invertedAppearance(), s->value()),
                     std::tuple(e.uiMin, e.uiMax, e.tick, e.look.inverted, e.uiMax));
        }
        if (e.combo != 0) {
            auto* c = qobject_cast<QComboBox*>(find(e.combo));
            QVERIFY2(c && e.uiMin == 0, code);
            QCOMPARE(std::pair(c->count(), c->currentIndex()), std::pair(e.uiMax + 1, e.uiMax));
        }
        if (e.edit != 0) {
            auto* edit = qobject_cast<QLineEdit*>(find(e.edit));
            QVERIFY2(edit && edit->text() == QString::number(e.uiMax), code);
        }
        for (int id : e.boxes) {
            auto* box = qobject_cast<QCheckBox*>(find(id));
            QVERIFY2(box && box->isChecked(), code + QByteArray::number(id));
        }
        QVERIFY2(e.look.caption == 0 || find(e.look.caption), code);
    }
}

QTEST_MAIN(ModelViewTest)
#include "ModelViewTest.moc"
