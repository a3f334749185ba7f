#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "UiHarness.h"
#include "model/ControlIds.h"
#include "ui/PageHost.h"

using namespace orva;
using namespace orva::test;

namespace {

constexpr int kCustomTab = 1;
constexpr int kGpsTab = 2;
const std::string kStopDisplay = "S~0000\r";

void clickTab(QTabBar* tabs, int index) {
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

QString textOf(const UiHarness& ui, ControlKey key) {
    return static_cast<QPushButton*>(ui.dialog.control(key))->text();
}

}  // namespace

class PageSwitchTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void customTabKeepsTheDisplayRunningWhileItsButtonStopsIt();
    void languageSwitchRewordsControlsButNotTabItems();
};

void PageSwitchTest::customTabKeepsTheDisplayRunningWhileItsButtonStopsIt() {
    UiHarness ui;
    PageHost* pages = ui.dialog.pages();
    QCOMPARE(pages->shownPage(), 0);

    clickTab(pages->tabBar(), kCustomTab);
    QCOMPARE(pages->shownPage(), kCustomTab);
    QCOMPARE(ui.port.takeWritten(), std::string());

    QTest::mouseClick(ui.control<QPushButton>(Dialog::Main, ids::main::kPageCustom.id),
                      Qt::LeftButton);
    QCOMPARE(pages->shownPage(), kCustomTab);
    QCOMPARE(ui.port.takeWritten(), kStopDisplay);

    clickTab(pages->tabBar(), kGpsTab);
    QCOMPARE(pages->shownPage(), kGpsTab);
    QCOMPARE(pages->tabBar()->currentIndex(), kGpsTab);
    QCOMPARE(ui.port.takeWritten(), kStopDisplay);

    // A page button selects its tab item as well.
    QTest::mouseClick(ui.control<QPushButton>(Dialog::Main, ids::main::kPageVoltage.id),
                      Qt::LeftButton);
    QCOMPARE(pages->shownPage(), 4);
    QCOMPARE(pages->tabBar()->currentIndex(), 4);
    QCOMPARE(ui.port.takeWritten(), kStopDisplay);
}

void PageSwitchTest::languageSwitchRewordsControlsButNotTabItems() {
    UiHarness ui;
    auto* language = ui.control<QPushButton>(Dialog::Main, ids::main::kLanguage.id);
    QTabBar* tabs = ui.dialog.pages()->tabBar();
    const QString chineseTitle = ui.dialog.windowTitle();

    QTest::mouseClick(language, Qt::LeftButton);
    QCOMPARE(language->text(), QStringLiteral("中文"));
    QCOMPARE(textOf(ui, ids::main::kPageBasic), QStringLiteral("Basic Setup"));
    QCOMPARE(textOf(ui, ids::main::kSaveData), QStringLiteral("Save Data"));
    QVERIFY(ui.dialog.windowTitle().startsWith(QStringLiteral("Kivrel Tools V1.220")));
    QCOMPARE(tabs->tabText(0), QStringLiteral("基础参数设置"));
    QCOMPARE(tabs->tabText(4), QStringLiteral("电压显示及报警设置"));
    // The four sensor boxes the window never shows stay hidden when their captions change.
    QVERIFY(ui.dialog.control({Dialog::Main, 1060})->isVisibleTo(&ui.dialog));
    for (int hidden : {1056, 1057, 1058, 1059}) {
        QVERIFY(!ui.dialog.control({Dialog::Main, hidden})->isVisibleTo(&ui.dialog));
    }

    QTest::mouseClick(language, Qt::LeftButton);
    QCOMPARE(language->text(), QStringLiteral("English"));
    QCOMPARE(textOf(ui, ids::main::kSaveData), QStringLiteral("保存数据"));
    QCOMPARE(textOf(ui, ids::main::kLoadData), QStringLiteral("恢复数据"));
    QCOMPARE(ui.dialog.windowTitle(), chineseTitle);
    QCOMPARE(tabs->tabText(1), QStringLiteral("自定义功能及数据显示"));
}

QTEST_MAIN(PageSwitchTest)
#include "PageSwitchTest.moc"
