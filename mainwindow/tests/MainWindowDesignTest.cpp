// The design places on the real main window: at the centre of each path's pixel rectangle in the
// client area lies the control the path names, as a program clicking the window from outside needs; and
// the two readout digits it names for the wheel are the 100 Hz and the 1 kHz digit.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <functional>

#include "frontpanel/BandPlanControls.h"
#include "frontpanel/ReceiverControls.h"
#include "frontpanel/SevenSegmentDigit.h"
#include "mainwindow/MainWindowDesign.h"
#include "mainwindow/tests/MainWindowRig.h"
#include "mainwindow/tests/ShownWindow.h"
#include "recorder/RecorderControls.h"
#include "recorder/RecorderPanelPorts.h"

namespace {

namespace design = mainwindow::design;
namespace fp = frontpanel::design;
namespace transport = recorder::transport;

struct MainWindowDesign : ::testing::Test, mainwindowtest::MainWindowRig {
    frmMain& start(int16_t layout) { return mainwindowtest::showActive(*this, layout); }
    bool elektorPanel() const { return !window->picElektor200705.widget()->isHidden(); }
    static QPoint centre(const ui::DesignPath& p) {
        const ui::PixelRect r = p.pixels();
        return {r.centreX(), r.centreY()};
    }
    // The readout digit d among the window's controls.
    QWidget* digit(int d) {
        QWidget* found = nullptr;
        window->forEachControl([&](ui::Control& c) {
            if (auto* s = dynamic_cast<frontpanel::SevenSegmentDigit*>(&c); s && s->Index() == d)
                found = s->widget();
        });
        return found;
    }
    recorder::RecorderControls& recorderControls() {
        if (!window->RecorderControls) throw std::runtime_error("no recorder panel on the window");
        return *window->RecorderControls;
    }
    frontpanel::ReceiverControls& receiverControls() { return window->Controls; }
    frontpanel::BandPlanControls& bandPlan() { return window->BandControls; }
};

struct Case {
    const char* name;
    std::function<ui::DesignPath(bool elektorPanel)> path;
    std::function<QWidget*(MainWindowDesign&)> control;
};

TEST_F(MainWindowDesign, EachDesignPlaceLiesOverItsControlInTheFullLayout) {
    using R = MainWindowDesign;
    const std::vector<Case> cases = {
        {"power On", [](bool) { return design::powerButton(design::kPowerOn); },
         [](R& r) { return r.window->optPwr[design::kPowerOn].widget(); }},
        {"power Off", [](bool) { return design::powerButton(design::kPowerOff); },
         [](R& r) { return r.window->optPwr[design::kPowerOff].widget(); }},
        {"power Close", [](bool) { return design::powerButton(design::kPowerClose); },
         [](R& r) { return r.window->optPwr[design::kPowerClose].widget(); }},
        {"layout Comp", [](bool) { return design::layoutButton(design::kLayoutCompact); },
         [](R& r) { return r.window->optDisplaySize[design::kLayoutCompact].widget(); }},
        {"layout Std", [](bool) { return design::layoutButton(design::kLayoutStandard); },
         [](R& r) { return r.window->optDisplaySize[design::kLayoutStandard].widget(); }},
        {"layout Ext", [](bool) { return design::layoutButton(design::kLayoutExtended); },
         [](R& r) { return r.window->optDisplaySize[design::kLayoutExtended].widget(); }},
        {"layout Full", [](bool) { return design::layoutButton(design::kLayoutFull); },
         [](R& r) { return r.window->optDisplaySize[design::kLayoutFull].widget(); }},
        {"Config", [](bool e) { return design::configButton(e); },
         [](R& r) { return r.window->cmdConfig.widget(); }},
        {"digit 100 Hz", [](bool) { return design::readoutDigit(fp::kDigit100Hz); },
         [](R& r) { return r.digit(fp::kDigit100Hz); }},
        {"digit 1 kHz", [](bool) { return design::readoutDigit(fp::kDigit1kHz); },
         [](R& r) { return r.digit(fp::kDigit1kHz); }},
        {"mode AM", [](bool) { return design::modeButton(fp::kModeAM); },
         [](R& r) { return r.receiverControls().optMode[fp::kModeAM].widget(); }},
        {"mode USB", [](bool) { return design::modeButton(fp::kModeUSB); },
         [](R& r) { return r.receiverControls().optMode[fp::kModeUSB].widget(); }},
        {"mode LSB", [](bool) { return design::modeButton(fp::kModeLSB); },
         [](R& r) { return r.receiverControls().optMode[fp::kModeLSB].widget(); }},
        {"mode DRM", [](bool) { return design::modeButton(fp::kModeDRM); },
         [](R& r) { return r.receiverControls().optMode[fp::kModeDRM].widget(); }},
        {"mute", [](bool) { return design::muteSwitch(); },
         [](R& r) { return r.receiverControls().chkMute.widget(); }},
        {"first preset", [](bool e) { return design::presetButton(0, e); },
         [](R& r) { return r.bandPlan().optPreset[0].widget(); }},
        {"last preset", [](bool e) { return design::presetButton(fp::kPresetButtonCount - 1, e); },
         [](R& r) { return r.bandPlan().optPreset[fp::kPresetButtonCount - 1].widget(); }},
        {"first sub-band", [](bool e) { return design::subBandButton(0, e); },
         [](R& r) { return r.bandPlan().optSubBand[0].widget(); }},
        {"Record", [](bool e) { return design::recorderButton(transport::kRecord, e); },
         [](R& r) { return r.recorderControls().cmdWavCtls[transport::kRecord].widget(); }},
        {"Play", [](bool e) { return design::recorderButton(transport::kPlay, e); },
         [](R& r) { return r.recorderControls().cmdWavCtls[transport::kPlay].widget(); }},
        {"Stop", [](bool e) { return design::recorderButton(transport::kStop, e); },
         [](R& r) { return r.recorderControls().cmdWavCtls[transport::kStop].widget(); }},
        {"Load", [](bool e) { return design::recorderButton(transport::kLoad, e); },
         [](R& r) { return r.recorderControls().cmdWavCtls[transport::kLoad].widget(); }},
        {"Save", [](bool e) { return design::recorderButton(transport::kSave, e); },
         [](R& r) { return r.recorderControls().cmdWavCtls[transport::kSave].widget(); }},
    };
    frmMain& w = start(design::kLayoutFull);
    const bool elektor = elektorPanel();
    // The window is as tall as the layout says (with the frame's border below), so every place lies in it.
    EXPECT_EQ(w.height(), ui::designPixels(design::clientHeight(design::kLayoutFull, elektor) +
                                           w.Layout.Chrome.FormBorderWidth));
    EXPECT_EQ(w.width(), ui::designPixels(design::kClientWidth));
    for (const Case& c : cases) {
        const QPoint at = centre(c.path(elektor));
        QWidget* expected = c.control(*this);
        ASSERT_NE(expected, nullptr) << c.name;
        QWidget* found = w.childAt(at);
        EXPECT_TRUE(found && (found == expected || expected->isAncestorOf(found)))
            << c.name << " at " << at.x() << "," << at.y() << ": found "
            << (found ? found->metaObject()->className() : "nothing");
    }
}

// A click at the place marks the digit and sets the VFO's tuning step (tenths of a hertz), the step
// the wheel over the readout tunes by: 100 Hz and 1 kHz.
TEST_F(MainWindowDesign, TheDesignedDigitsSetTheTuningStepTo100HzAnd1kHz) {
    frmMain& w = start(design::kLayoutFull);
    for (const auto& [digitIndex, hertz] :
         {std::pair{fp::kDigit100Hz, 100}, std::pair{fp::kDigit1kHz, 1000}}) {
        const QPoint at = centre(design::readoutDigit(digitIndex));
        QWidget* over = w.childAt(at);
        ASSERT_NE(over, nullptr);
        QTest::mouseClick(over, Qt::LeftButton, Qt::NoModifier, over->mapFrom(&w, at));
        EXPECT_DOUBLE_EQ(vfo.TuneStep(), hertz * 10.0) << "digit " << digitIndex;
    }
}

} // namespace
