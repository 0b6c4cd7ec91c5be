// The receiver's controls on a window, worked as a user works them: the mode buttons, the IF filter's
// switch and modes, the bandwidth slider dragged and right-clicked, the volume slider and dial dragged,
// and a volume beyond the twins' range applied. The window is also drawn to a picture to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <cmath>

#include "frontpanel/ControlsStartUp.h"
#include "frontpanel/ReceiverControls.h"
#include "frontpanel/tests/PanelRig.h"
#include "platform/runtime/Hooks.h"
#include "platform/ui/Form.h"
#include "platform/ui/PictureBox.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct ReceiverWindow : ::testing::Test, paneltest::PanelRig {
    ReceiverWindow() {
        form.setBackColor(0x000000);
        // The main window's panels at their design places, below the row of frames.
        picElektor200705.Move(60, 2950, 12345, 495);
        picRecorder.Move(60, 3520, 12345, 630);
        picCalib.Move(60, 4225, 12345, 450);
        for (ui::PictureBox* p : {&picElektor200705, &picRecorder, &picCalib}) {
            p->surface().setBackColor(0x000000);
            p->surface().Cls();
        }
        controls.connect(*core);
        namespace s = frontpanel::startup;
        state().HiSideLoActive = vfoObject.HiSideLo();
        core->knobs.FillKnobTable(core->levels.twinSetUp());
        s::InitialiseAgcSliders(*core);
        s::SelectFastAgc(*core);
        s::FillDefaultTables(*core);
        s::ShowChannelSwap(*core);
        s::ShowMuteLoSideAndNoiseReduction(*core, true);
        core->ctlArray[kOutVolKnob].Value = state().OutputAttenuation;
        core->routines.SetOutVol();
        s::ShowNotchAndIfFilter(*core);
        s::CaptionFilterButtons(*core);
        s::ShowRecordingFormat(*core, 16, 1);
        s::ResetUpperSideBox(*core);
        core->levels.chkAGC.setValue(1);
        core->filterControls.optFilter.setValue(2, true);
        core->modes.optMode.setValue(0, true);
        // The knob labels show their values in the scheme's colours.
        for (int16_t k = 1; k < kKnobCount; ++k)
            if (core->ctlArray[static_cast<size_t>(k)].Label)
                core->ctlArray[static_cast<size_t>(k)].Label->setForeColor(0xC0C000);
        form.setClientSize(12465, 4750);
        form.Show();
        form.activateWindow();
        QApplication::setActiveWindow(&form);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    static QPoint middle(QWidget* w) { return w->rect().center(); }

    // A drag of a slider's handle by a number of pixels along the slider.
    static void dragHandle(ui::Slider& s, int pixels) {
        auto* q = static_cast<QSlider*>(s.widget());
        QStyleOptionSlider opt;
        opt.initFrom(q);
        opt.orientation = q->orientation();
        opt.minimum = q->minimum();
        opt.maximum = q->maximum();
        opt.sliderPosition = q->sliderPosition();
        opt.sliderValue = q->value();
        opt.upsideDown = q->invertedAppearance() != (q->orientation() == Qt::Vertical);
        const QRect handle = q->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, q);
        const QPoint from = handle.center();
        const QPoint step = q->orientation() == Qt::Vertical ? QPoint(0, 1) : QPoint(1, 0);
        QTest::mousePress(q, Qt::LeftButton, Qt::NoModifier, from);
        const int sign = pixels < 0 ? -1 : 1;
        for (int i = 1; i <= std::abs(pixels); ++i) {
            QMouseEvent move(QEvent::MouseMove, from + step * (sign * i),
                             q->mapToGlobal(from + step * (sign * i)), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(q, &move);
        }
        QTest::mouseRelease(q, Qt::LeftButton, Qt::NoModifier, from + step * pixels);
    }

    // A drag round a dial's knob from one angle to another, clockwise from the top.
    static void turnDial(dial::Dial& d, double from, double to) {
        QWidget* w = d.widget();
        const auto at = [w](double degrees) {
            const double a = degrees * kPi / 180.0, r = w->width() * 0.4;
            return QPointF(w->width() / 2.0 + r * std::sin(a), w->height() / 2.0 - r * std::cos(a));
        };
        const auto send = [w](QEvent::Type type, QPointF p, Qt::MouseButtons buttons,
                              Qt::MouseButton button) {
            QMouseEvent e(type, p, w->mapToGlobal(p), button, buttons, Qt::NoModifier);
            QApplication::sendEvent(w, &e);
        };
        send(QEvent::MouseButtonPress, at(from), Qt::LeftButton, Qt::LeftButton);
        const double step = to > from ? 5.0 : -5.0;
        for (double a = from + step; step > 0 ? a <= to : a >= to; a += step)
            send(QEvent::MouseMove, at(a), Qt::LeftButton, Qt::NoButton);
        send(QEvent::MouseButtonRelease, at(to), Qt::NoButton, Qt::LeftButton);
    }

    std::vector<std::string> messages;
    runtime::ScopedHooks hooks{{.doEvents = [] { QCoreApplication::processEvents(); },
                                .addLog = {},
                                .msgBox =
                                    [this](const std::string& p, int32_t, const std::string&) {
                                        messages.push_back(p);
                                        return runtime::mb::kOk;
                                    }}};
    ui::Form form;
    ui::PictureBox picElektor200705{&form}, picRecorder{&form}, picCalib{&form};
    frontpanel::ReceiverControls controls{
        {&form, 60, 1300, 9000, 800, picElektor200705.widget(), picRecorder.widget(), picCalib.widget()}};
};

} // namespace

TEST_F(ReceiverWindow, ClickingTheModesSwitchesTheModeAndLightsTheChosenOne) {
    for (int16_t i : {1, 2, 4, 5, 6, 7, 0}) {
        QTest::mouseClick(controls.optMode[i].widget(), Qt::LeftButton);
        EXPECT_EQ(state().DemodMode, i);
        EXPECT_TRUE(controls.optMode[i].Value());
        EXPECT_EQ(controls.optMode[i].ForeColor(), frontpanel::kChosenColour);
        EXPECT_EQ(controls.optMode[(i + 1) % 8].ForeColor(), frontpanel::kOtherColour);
    }
    EXPECT_EQ(controls.optMode[3].Caption(), "&DRM");
    EXPECT_EQ(controls.optMode[5].ToolTipText(), "AM Demodulation ");
    EXPECT_TRUE(receiver.calls.empty());
}

TEST_F(ReceiverWindow, WithTheIfFilterOffManIsRefusedAndTrackStays) {
    QTest::mouseClick(controls.chkIFFilter.widget(), Qt::LeftButton);
    EXPECT_TRUE(state().IFFilterActive);
    QTest::mouseClick(controls.chkIFFilter.widget(), Qt::LeftButton);
    EXPECT_FALSE(state().IFFilterActive);
    EXPECT_EQ(controls.chkIFFilter.Value(), 0);
    QTest::mouseClick(controls.optIFFilter[1].widget(), Qt::LeftButton);
    EXPECT_TRUE(controls.optIFFilter[2].Value());
    EXPECT_FALSE(controls.optIFFilter[1].Value());
    EXPECT_EQ(state().IFFilterMode, 2);
}

TEST_F(ReceiverWindow, ADraggedEdgeSliderIsRestoredByARightClick) {
    ui::Slider& high = controls.sldBW[1];
    dragHandle(high, 20);
    EXPECT_LT(state().FilterHi, 2300);
    EXPECT_EQ(controls.lblFHi.Caption(), std::to_string(state().FilterHi));
    EXPECT_EQ(controls.lblFilterHi.label.Caption(), std::to_string(state().FilterHi));
    QTest::mouseClick(high.widget(), Qt::RightButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(state().FilterHi, 2300);
    EXPECT_EQ(high.Value(), 5000 - 2300);
    EXPECT_EQ(controls.lblFHi.Caption(), "2300");
}

TEST_F(ReceiverWindow, TheVolumeSliderAndDialFollowEachOther) {
    dragHandle(controls.sldOutVolume, 30);
    const int32_t dragged = controls.sldOutVolume.Value();
    EXPECT_GT(dragged, 0);
    EXPECT_EQ(controls.dialOutVol.Value(), dragged);
    EXPECT_EQ(core->ctlArray[kOutVolKnob].Value, dragged);
    EXPECT_FLOAT_EQ(state().OutputAttenuation, dragged / 1000.0f + 1.0f);

    turnDial(controls.dialOutVol, 0, -90);
    const int32_t turned = controls.dialOutVol.Value();
    EXPECT_LT(turned, dragged);
    EXPECT_EQ(controls.sldOutVolume.Value(), turned);
    EXPECT_EQ(core->ctlArray[kOutVolKnob].Value, turned);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ReceiverWindow, AVolumeBeyondTheTwinsPutsThemAtTheirEndsAndIsApplied) {
    core->ctlArray[kOutVolKnob].Value = 20000;
    core->ctlArray[kOutVolKnob].Apply();
    EXPECT_EQ(controls.sldOutVolume.Value(), 8000);
    EXPECT_EQ(controls.dialOutVol.Value(), 8000);
    EXPECT_FLOAT_EQ(state().OutputAttenuation, 21.0f);
    EXPECT_EQ(controls.lblOutVol.label.Caption(), "+26.4");
    EXPECT_TRUE(messages.empty());
}

TEST_F(ReceiverWindow, DrawsForAPerson) {
    // The colours the window's colouring gives, on a black background; the housekeeping shows one of the
    // two side boxes.
    controls.forEachControl([](ui::Control& c) {
        const bool frame = dynamic_cast<ui::Frame*>(&c) != nullptr;
        if (frame || dynamic_cast<ui::Label*>(&c) || dynamic_cast<ui::CheckBox*>(&c) ||
            dynamic_cast<ui::OptionButton*>(&c))
            c.setBackColor(0x000000);
        if (frame) c.setForeColor(0xFFFF00);
    });
    controls.chkIQSelectUpper.setVisible(false);
    controls.chkNB.setValue(1);
    QTest::mouseClick(controls.chkNotchOn.widget(), Qt::LeftButton);
    const QString path = QString::fromUtf8(RENDER_DIR) + "/receiver_controls.png";
    EXPECT_TRUE(form.grab().save(path));
}
