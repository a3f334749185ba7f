#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "UiHarness.h"
#include "model/ControlIds.h"

using namespace orva;
using namespace orva::test;

class WindowKeysTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void enterAndEscapeDoNothing();
    void closeBoxAsksAndOnlyYesCloses();
};

void WindowKeysTest::enterAndEscapeDoNothing() {
    UiHarness ui;
    // Refresh would restart the link and ask for the version again.
    auto* refresh = ui.control<QPushButton>(Dialog::Main, ids::main::kRefresh.id);
    refresh->setFocus();
    QTest::keyClick(refresh, Qt::Key_Return);
    QTest::keyClick(refresh, Qt::Key_Enter);
    // In the declination box Enter does not press Setup.
    auto* declination = ui.control<QLineEdit>(Dialog::Main, ids::main::kDeclination.id);
    declination->setFocus();
    QTest::keyClicks(declination, QStringLiteral("7"));
    QTest::keyClick(declination, Qt::Key_Return);
    QTest::keyClick(declination, Qt::Key_Escape);
    QTest::keyClick(&ui.dialog, Qt::Key_Escape);

    QCOMPARE(ui.port.takeWritten(), std::string());
    QVERIFY(ui.prompts.shown.empty());
    QVERIFY(ui.dialog.isVisible());
    QCOMPARE(declination->text(), QStringLiteral("7"));
}

void WindowKeysTest::closeBoxAsksAndOnlyYesCloses() {
    UiHarness ui;
    ui.prompts.answers = {MessageResult::No};
    QVERIFY(!ui.dialog.close());
    QVERIFY(ui.dialog.isVisible());
    QCOMPARE(ui.prompts.shown.size(), std::size_t{1});
    QCOMPARE(ui.prompts.shown[0].text, std::string("你确定要关闭本程序吗？"));
    QCOMPARE(ui.prompts.shown[0].buttons, MessageButtons::YesNo);

    ui.prompts.answers = {MessageResult::Yes};
    QVERIFY(ui.dialog.close());
    QVERIFY(!ui.dialog.isVisible());
    QCOMPARE(ui.prompts.shown.size(), std::size_t{2});
    // Nothing is said to the controller at shutdown.
    QCOMPARE(ui.port.takeWritten(), std::string());
}

QTEST_MAIN(WindowKeysTest)
#include "WindowKeysTest.moc"
