#include <QTest>
#include <QtWidgets>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "settings/ParameterCatalogue.h"
#include "support/Fakes.h"
#include "ui/COrvaDlg.h"
#include "ui/FrameDialog.h"
#include "ui/FramePlanView.h"
#include "ui/PageHost.h"
#include "ui/QtPrompts.h"
#include "ui/WidgetFactory.h"

using namespace orva;
using namespace orva::test;
namespace main_ids = orva::ids::main;

namespace {

// The real main window over a real core whose port, clock, prompts and files are fakes. The
// start-up query is taken off the wire, so each case sees only what it causes.
struct Ui {
    FakePort port;
    FakeClock clock;
    ScriptedPrompts prompts;
    MemoryFiles files;
    OrvaCore core{port, clock, prompts, files};
    COrvaDlg dialog{core};

    Ui() {
        dialog.show();
        core.initialise();
        port.takeWritten();
    }
    template <typename W = QPushButton>
    W* at(ControlKey key) const {
        return qobject_cast<W*>(dialog.control(key));
    }
    void click(ControlKey key) { QTest::mouseClick(at<QWidget>(key), Qt::LeftButton); }
};

// Where the thumb of `slider` is drawn.
QPoint thumb(const QSlider* slider) {
    QStyleOptionSlider opt;
    opt.initFrom(slider);
    opt.orientation = slider->orientation();
    opt.minimum = slider->minimum();
    opt.maximum = slider->maximum();
    opt.sliderPosition = slider->sliderPosition();
    opt.upsideDown = slider->invertedAppearance();
    opt.tickPosition = slider->tickPosition();
    return slider->style()
        ->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, slider)
        .center();
}

}  // namespace

class UiTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // Every control the catalogue names is in the window, of its kind, bound under the same key,
    // with the catalogue's range, tick and direction or number of items; what the core shows is
    // never sent back.
    void everyCatalogueControlIsBoundWithItsRange() {
        Ui ui;
        ui.core.model().setEnabled(main_ids::kEditFrame, true);
        ui.click(main_ids::kEditFrame);
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
        QCOMPARE(ui.port.takeWritten(), std::string("?V\r?k\r?k\r"));  // the frame dialog's only
    }

    void keyboardMovesNeverSendAndAReleaseSendsOnce() {
        Ui ui;
        // Basic setup page: the dynamic stability slider (code E) and its edit.
        auto* slider = ui.at<QSlider>({Dialog::Basic, 1040});
        auto* edit = ui.at<QLineEdit>({Dialog::Basic, 1066});
        slider->setFocus();
        for (int i = 0; i < 10; ++i) {
            QTest::keyClick(slider, i < 3 ? Qt::Key_PageUp : Qt::Key_Right);
        }
        QCOMPARE(edit->text(), QStringLiteral("37"));
        // Keyboard moves send nothing; a press and release on the thumb sends the position; a drag
        // shows each position and sends once, when the mouse lets go.
        QPoint at = thumb(slider);
        QTest::mousePress(slider, Qt::LeftButton, {}, at);
        QTest::mouseRelease(slider, Qt::LeftButton, {}, at);
        QCOMPARE(ui.port.takeWritten(), std::string("SE0037\r"));
        QTest::mousePress(slider, Qt::LeftButton, {}, at);
        for (int step = 0; step < 3; ++step) {
            QTest::mouseMove(slider, at += QPoint(15, 0));
            QCOMPARE(edit->text(), QString::number(slider->sliderPosition()));
        }
        QVERIFY(slider->sliderPosition() > 37);
        QTest::mouseRelease(slider, Qt::LeftButton, {}, at);
        QCOMPARE(ui.port.takeWritten(),
                 QString::asprintf("SE%04d\r", slider->value()).toStdString());
        // A click beside the thumb of the auxiliary stability slider (code D) moves a page on the
        // press and sends on the release.
        auto* aux = ui.at<QSlider>({Dialog::Basic, 1039});
        const QPoint beside(aux->width() - 4, thumb(aux).y());
        QTest::mousePress(aux, Qt::LeftButton, {}, beside);
        QCOMPARE(ui.port.takeWritten(), std::string());
        QTest::mouseRelease(aux, Qt::LeftButton, {}, beside);
        QCOMPARE(ui.port.takeWritten(), std::string("SD0010\r"));
    }

    void onlyThePageButtonStopsTheDisplayAndHiddenBoxesStayHidden() {
        Ui ui;
        PageHost* pages = ui.dialog.pages();
        QTabBar* tabs = pages->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());  // custom page
        QCOMPARE(pages->shownPage(), 1);
        QCOMPARE(ui.port.takeWritten(), std::string());
        ui.click(main_ids::kPageCustom);  // button 1006
        QCOMPARE(ui.port.takeWritten(), std::string("S~0000\r"));
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
        ui.click(main_ids::kPageVoltage);  // a page button selects its tab item as well
        QCOMPARE(std::pair(pages->shownPage(), tabs->currentIndex()), std::pair(4, 4));
        QCOMPARE(ui.port.takeWritten(), std::string("S~0000\rS~0000\r"));

        const QString chineseTitle = ui.dialog.windowTitle();
        ui.click(main_ids::kLanguage);
        QCOMPARE(ui.at(main_ids::kLanguage)->text(), QStringLiteral("中文"));
        QVERIFY(ui.dialog.windowTitle().startsWith(QStringLiteral("Kivrel Tools V1.220")));
        QCOMPARE(ui.dialog.pages()->tabBar()->tabText(0), QStringLiteral("基础参数设置"));
        // The four sensor boxes the window never shows stay hidden when their captions change.
        QVERIFY(ui.at<QWidget>({Dialog::Main, 1060})->isVisibleTo(&ui.dialog));
        for (int hidden : {1056, 1057, 1058, 1059}) {
            QVERIFY(!ui.at<QWidget>({Dialog::Main, hidden})->isVisibleTo(&ui.dialog));
        }
        ui.click(main_ids::kLanguage);
        QCOMPARE(ui.dialog.windowTitle(), chineseTitle);
    }

    void enterAndEscapeDoNothingSetupAndClosingAsk() {
        Ui ui;
        // Refresh would restart the link and ask for the version again; in the declination box
        // Enter does not press Setup.
        ui.at(main_ids::kRefresh)->setFocus();
        QTest::keyClick(ui.at(main_ids::kRefresh), Qt::Key_Return);
        QTest::keyClick(ui.at(main_ids::kRefresh), Qt::Key_Enter);
        auto* declination = ui.at<QLineEdit>(main_ids::kDeclination);
        declination->setFocus();
        QTest::keyClicks(declination, QStringLiteral("7"));
        QTest::keyClick(declination, Qt::Key_Return);
        QTest::keyClick(declination, Qt::Key_Escape);
        QTest::keyClick(&ui.dialog, Qt::Key_Escape);
        QCOMPARE(ui.port.takeWritten(), std::string());
        QVERIFY(ui.prompts.shown.empty() && ui.dialog.isVisible());
        QCOMPARE(declination->text(), QStringLiteral("7"));
        ui.click(main_ids::kDeclinationSet);  // the question, then 7 + 180
        QCOMPARE(ui.prompts.shown.size(), std::size_t{1});
        QCOMPARE(ui.port.takeWritten(), std::string("SQ0187\r"));

        ui.prompts.answers = {MessageResult::No, MessageResult::Yes};
        QVERIFY(!ui.dialog.close() && ui.dialog.isVisible());
        QCOMPARE(ui.prompts.shown.at(1).text, std::string("你确定要关闭本程序吗？"));
        QCOMPARE(ui.prompts.shown.at(1).buttons, MessageButtons::YesNo);
        QVERIFY(ui.dialog.close() && !ui.dialog.isVisible());
        QCOMPARE(ui.prompts.shown.size(), std::size_t{3});
        QCOMPARE(ui.port.takeWritten(), std::string());  // nothing said at shutdown
    }

    void choosingAndUpgradingShowInTheFirmwareRow() {
        Ui ui;
        auto* bar = ui.at<QProgressBar>(main_ids::kProgress);
        QVERIFY(!ui.at(main_ids::kUpgrade)->isEnabled() && bar->isHidden());
        ui.files.content["/pilot/kivrel.bin"] = "ab";
        ui.prompts.files.push_back(std::string("/pilot/kivrel.bin"));
        ui.click(main_ids::kChooseFirmware);
        QCOMPARE(ui.at<QLineEdit>(main_ids::kUpgradeHint)->text(),
                 QStringLiteral("/pilot/kivrel.bin"));
        ui.click(main_ids::kUpgrade);
        QCOMPARE(ui.port.takeWritten(), std::string("?W\r"));
        QVERIFY(!ui.at(main_ids::kChooseFirmware)->isEnabled());
        // Two bytes: B = 2, so the bar runs 0..3, in blue with no text of its own, at the start
        // packet's 1. An answer naming block 0 ends the transfer and hides it.
        ui.port.receive("QDMC");
        ui.port.receive("RADY");
        QCOMPARE(std::tuple(bar->isHidden(), bar->maximum(), bar->value(), bar->isTextVisible()),
                 std::tuple(false, 3, 1, false));
        QCOMPARE(bar->palette().color(QPalette::Highlight), QColor(0, 0, 255));
        ui.port.receive(std::string(64, '\0'));
        QVERIFY(bar->isHidden());
        QCOMPARE(ui.prompts.shown.size(), std::size_t{1});
    }

    // A port error as long as a sentence ends in an ellipsis beside the list, whole in its tip,
    // and leaves the window narrower than a 1400-pixel screen.
    void aLongPortErrorIsElidedNotWidened() {
        Ui ui;
        ui.port.failOpen = true;
        ui.port.openError = std::string(40, 'x') + " " + std::string(200, 'y');
        ui.click(main_ids::kRefresh);
        QApplication::processEvents();
        auto* label = ui.at<QLabel>(main_ids::kPortDevice);
        QCOMPARE(label->toolTip(), QString::fromStdString("无法打开串口：" + ui.port.openError +
                                                          "  COM3 = /dev/fake3"));
        // The reason comes first, so its start stays readable.
        QVERIFY(label->text().startsWith(QString::fromUtf8("无法打开串口：xxxxxxxxxx")) &&
                label->text().endsWith(QChar(0x2026)));
        QVERIFY2(ui.dialog.width() <= 1400 && ui.dialog.sizeHint().width() <= 1400,
                 QByteArray::number(ui.dialog.sizeHint().width()));
    }

    // The texts keep their CR line breaks, which the box shows as new lines; saving over a file
    // asks nothing more.
    void promptsBreakLinesAtCrAndSaveWithoutAsking() {
        QtPrompts prompts;
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            shown = box ? box->text() : "no box";
            if (box) {
                box->button(QMessageBox::Ok)->click();
            }
        });
        QCOMPARE(prompts.message({"a\rb", "t", MessageButtons::OkCancel, MessageIcon::Question,
                                  MessageResult::Cancel}),
                 MessageResult::Ok);
        QCOMPARE(shown, QString("a\nb"));
        bool confirms = true;
        QTimer::singleShot(0, [&] {
            auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            confirms = !chooser || !chooser->testOption(QFileDialog::DontConfirmOverwrite);
            if (chooser) {
                chooser->reject();
            }
        });
        QVERIFY(!prompts.chooseFile({.save = true}).has_value());
        QVERIFY(!confirms);
    }

    void frameDialogDrawsItsPlanAndSends() {
        Ui ui;
        ui.core.model().setEnabled(main_ids::kEditFrame, true);
        ui.click(main_ids::kEditFrame);
        FrameDialog* frame = ui.dialog.frameDialog();
        QVERIFY(frame && frame->isVisible() && !frame->isModal());
        QCOMPARE(ui.port.takeWritten(), std::string("?V\r?k\r?k\r"));
        // The empty canvas, the red X axis, and the four motors' marks at the origin; a position
        // on the dialog is a pixel of the plan view less the canvas corner.
        const auto pixel = [&](int x, int y) {
            const QImage plan = frame->plan()->grab().toImage();
            return plan.pixelColor(x - FramePlan::kCanvasLeft, y - FramePlan::kCanvasTop);
        };
        const auto colour = [](PlanColour c) { return QColor(c.red, c.green, c.blue); };
        QCOMPARE(pixel(385, 40), colour(FramePlan::kBackground));
        QCOMPARE(pixel(420, 150), colour(FramePlan::kRed));
        QCOMPARE(pixel(499, 149), colour(FramePlan::kMotorBrush));
        // Motor 1 typed to (300, 0): 300 * 80 / 650 + 500 = 536.9, drawn at 536.
        auto* motor1X = ui.at<QLineEdit>({Dialog::Frame, 1031});
        motor1X->selectAll();
        QTest::keyClicks(motor1X, "300");
        QCOMPARE(pixel(535, 149), colour(FramePlan::kMotorBrush));
        // Six axes and a reverse box are sent at once.
        ui.at<QComboBox>({Dialog::Frame, 1215})->setFocus();
        QTest::keyClick(ui.at<QComboBox>({Dialog::Frame, 1215}), Qt::Key_Down);
        ui.click({Dialog::Frame, 1057});
        QCOMPARE(ui.port.takeWritten(), std::string("Sk0006\rSz0002\r"));
        // Cancel hides; the next opening shows the same window with the same values; the close
        // box hides as Cancel does.
        ui.click({Dialog::Frame, 2});
        QVERIFY(!frame->isVisible());
        ui.click(main_ids::kEditFrame);
        QVERIFY(ui.dialog.frameDialog() == frame && frame->isVisible());
        QCOMPARE(motor1X->text(), QStringLiteral("300"));
        QCOMPARE(ui.port.takeWritten(), std::string("?V\r?k\r"));
        // Save over a frame not read since the opening writes nothing and says why.
        ui.click({Dialog::Frame, 1000});
        QCOMPARE(ui.port.takeWritten(), std::string());
        QVERIFY(ui.at<QLabel>(main_ids::kPortDevice)
                    ->toolTip()
                    .startsWith(QString::fromUtf8("机架参数尚未从飞控读完，未保存")));
        frame->close();
        QVERIFY(!frame->isVisible() && !ui.core.model().visible(ids::frame::kDialog));
    }
};

QTEST_MAIN(UiTest)
#include "UiTest.moc"
