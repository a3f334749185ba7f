#pragma once

#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include "core/OrvaCore.h"
#include "support/Fakes.h"
#include "ui/COrvaDlg.h"

namespace orva::test {

// The real main window over a real core whose port, clock, prompts and files are fakes. The
// start-up query is taken off the wire, so each case sees only what it causes.
struct UiHarness {
    FakePort port;
    FakeClock clock;
    ScriptedPrompts prompts;
    MemoryFiles files;
    OrvaCore core{port, clock, prompts, files};
    COrvaDlg dialog{core};

    UiHarness() {
        dialog.show();
        core.initialise();
        port.takeWritten();
    }

    template <typename W>
    W* control(Dialog d, int id) const {
        return qobject_cast<W*>(dialog.control({d, id}));
    }
};

// Where the thumb of `slider` is drawn.
inline QPoint thumbCentre(const QSlider* slider) {
    QStyleOptionSlider opt;
    opt.initFrom(slider);
    opt.orientation = slider->orientation();
    opt.minimum = slider->minimum();
    opt.maximum = slider->maximum();
    opt.sliderPosition = slider->sliderPosition();
    opt.sliderValue = slider->value();
    opt.singleStep = slider->singleStep();
    opt.pageStep = slider->pageStep();
    opt.upsideDown = slider->invertedAppearance();
    opt.tickPosition = slider->tickPosition();
    opt.tickInterval = slider->tickInterval();
    opt.subControls = QStyle::SC_All;
    return slider->style()
        ->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, slider)
        .center();
}

}  // namespace orva::test
