#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "UiHarness.h"
#include "model/ControlIds.h"

using namespace orva;
using namespace orva::test;

namespace {

// A loader answer naming the block it expects next and, after the end packet, its checksum.
std::string answer(std::uint32_t expected, std::uint32_t checksum = 0) {
    std::string out(64, '\0');
    for (int i = 0; i < 4; ++i) {
        out[4 + i] = static_cast<char>((expected >> (8 * i)) & 0xFF);
        out[8 + i] = static_cast<char>((checksum >> (8 * i)) & 0xFF);
    }
    return out;
}

}  // namespace

class FirmwareRowTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void choosingAndUpgradingShowInTheFirmwareRow();
};

void FirmwareRowTest::choosingAndUpgradingShowInTheFirmwareRow() {
    UiHarness ui;
    auto* choose = ui.control<QPushButton>(Dialog::Main, ids::main::kChooseFirmware.id);
    auto* path = ui.control<QLineEdit>(Dialog::Main, ids::main::kUpgradeHint.id);
    auto* upgrade = ui.control<QPushButton>(Dialog::Main, ids::main::kUpgrade.id);
    auto* bar = ui.control<QProgressBar>(Dialog::Main, ids::main::kProgress.id);
    QVERIFY(choose && path && upgrade && bar);
    QVERIFY(!upgrade->isEnabled());
    QVERIFY(bar->isHidden());

    ui.files.content["/pilot/kivrel.bin"] = "ab";
    ui.prompts.files.push_back(std::string("/pilot/kivrel.bin"));
    QTest::mouseClick(choose, Qt::LeftButton);
    QCOMPARE(path->text(), QStringLiteral("/pilot/kivrel.bin"));
    QVERIFY(upgrade->isEnabled());

    QTest::mouseClick(upgrade, Qt::LeftButton);
    QCOMPARE(ui.port.takeWritten(), std::string("?W\r"));
    QVERIFY(!choose->isEnabled());
    ui.port.receive("QDMC");
    ui.port.receive("RADY");
    // Two bytes: the start packet and one data packet, so the bar moves in thirds.
    QVERIFY(!bar->isHidden());
    QCOMPARE(bar->value(), 33);
    ui.port.receive(answer(2));
    QCOMPARE(bar->value(), 66);
    ui.port.receive(answer(3));
    ui.port.receive(answer(4, 'a' + 'b'));
    QCOMPARE(bar->value(), 100);
    ui.port.receive(answer(5));
    QVERIFY(bar->isHidden());
    QVERIFY(choose->isEnabled());
    QCOMPARE(ui.prompts.shown.size(), std::size_t{1});
}

QTEST_MAIN(FirmwareRowTest)
#include "FirmwareRowTest.moc"
