// The frequency readout's controls and their wiring to the front panel's core.
#include "frontpanel/TuningControls.h"

#include <QApplication>
#include <QPalette>

#include "frontpanel/FrontPanelDesign.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/ui/Twips.h"

namespace frontpanel {

namespace {

// The frame's layout, in twips. The whole frame fits the band above the receiver's frames (the
// compact layout shows nothing more), so the digits, the rate and the dial stand side by side. The
// digits stand in three groups (MHz, kHz, Hz) and the tenths.
using design::digitLeft, design::kDigitHeight, design::kDigitTop, design::kDigitWidth;
constexpr int32_t kFrameWidth = design::kReadoutFrameWidth, kFrameHeight = design::kReadoutFrameHeight;
constexpr auto kPictureLeft = static_cast<int32_t>(design::picFreqDisp.Left);
constexpr auto kPictureTop = static_cast<int32_t>(design::picFreqDisp.Top);
constexpr auto kPictureWidth = static_cast<int32_t>(design::picFreqDisp.Width);
constexpr auto kPictureHeight = static_cast<int32_t>(design::picFreqDisp.Height);
constexpr int32_t kGroupGap = design::kDigitGroupGap;
constexpr int32_t kPointSize = 60;
constexpr int32_t kRateLeft = 4560, kRateWidth = 1080;
// The dial's rate stands on the dial's own background, at the foot of its picture: its text is black.
constexpr int32_t kDialPictureLeft = 5700, kDialPictureTop = 120, kDialPictureWidth = 1170,
                  kDialPictureHeight = 1050;
constexpr int32_t kDialSize = 780, kDialTop = 30;
constexpr int32_t kLabelHeight = 225;

TwipsRect rectOf(const ui::Control& c) {
    return {runtime::CLng(c.Left()), runtime::CLng(c.Top()), runtime::CLng(c.Width()),
            runtime::CLng(c.Height())};
}

} // namespace

TuningControls::TuningControls(QWidget* container, int32_t left, int32_t top, WindowHooks hooks)
    : frFreqCtl(container), picFreqDisp(frFreqCtl.container()), shpTuneStep(picFreqDisp.widget()),
      lblTuningRate(frFreqCtl.container(), "x 100 Hz"), imgTuneStepLock(frFreqCtl.container()),
      cboTuningSteps(frFreqCtl.container()), picTuneDial(frFreqCtl.container()),
      dialtuner(picTuneDial.widget()), lblTuneDialRate(frFreqCtl.container(), "x 100 Hz"),
      hooks_(std::move(hooks)) {
    frFreqCtl.Move(left, top, kFrameWidth, kFrameHeight);
    picFreqDisp.Move(kPictureLeft, kPictureTop, kPictureWidth, kPictureHeight);
    // The picture's scale follows its size once shown; its digits are placed now, in twips.
    picFreqDisp.surface().resize(ui::pixels(kPictureWidth), ui::pixels(kPictureHeight));
    picFreqDisp.widget()->setFocusPolicy(Qt::StrongFocus);

    for (int16_t d = 0; d < kReadoutDigits; ++d) {
        auto digit = std::make_unique<SevenSegmentDigit>(picFreqDisp.widget());
        digit->setIndex(d);
        const ui::DesignRect r = design::lbl7Seg(d);
        digit->Move(r.Left, r.Top, r.Width, r.Height);
        lbl7Seg[static_cast<size_t>(d)] = std::move(digit);
    }
    // The points after the MHz, the kHz and the Hz digits.
    for (int i = 0; i < 3; ++i) {
        auto point = std::make_unique<ui::Shape>(picFreqDisp.widget());
        point->setIndex(static_cast<int16_t>(i));
        point->setFillStyle(0);
        point->Move(digitLeft(1 + 3 * i) + kDigitWidth + (kGroupGap - kPointSize) / 2 + 15,
                    kDigitTop + kDigitHeight - kPointSize, kPointSize, kPointSize);
        shpDP[static_cast<size_t>(i)] = std::move(point);
    }
    shpTuneStep.setVisible(false);

    const char* scales[3] = {"MHz", "KHz", "Hz"};
    const int first[3] = {0, 2, 5}, last[3] = {1, 4, 7};
    for (int i = 0; i < 3; ++i) {
        auto scale = std::make_unique<ui::Label>(frFreqCtl.container(), scales[i]);
        scale->setIndex(static_cast<int16_t>(i));
        const int32_t from = kPictureLeft + digitLeft(first[i]);
        scale->Move(from, kPictureTop + kPictureHeight + 15,
                    kPictureLeft + digitLeft(last[i]) + kDigitWidth - from, kLabelHeight);
        scale->setAlignment(2);
        lblScale[static_cast<size_t>(i)] = std::move(scale);
    }

    lblTuningRate.Move(kRateLeft, 300, kRateWidth, kLabelHeight);
    lblTuningRate.setAlignment(2);
    lblTuningRate.setToolTipText("Left Click to Lock Tune Rate, Right Click to Set Tune Step");
    imgTuneStepLock.Move(kRateLeft + (kRateWidth - 240) / 2, 585, 240, 330);
    imgTuneStepLock.setToolTipText("Double Click to Unlock Tune Rate");
    imgTuneStepLock.setVisible(false);

    cboTuningSteps.Move(0, 0, 1350, 315);
    cboTuningSteps.setFontName("Courier New");
    cboTuningSteps.setVisible(false);

    picTuneDial.Move(kDialPictureLeft, kDialPictureTop, kDialPictureWidth, kDialPictureHeight);
    picTuneDial.surface().resize(ui::pixels(kDialPictureWidth), ui::pixels(kDialPictureHeight));
    dialtuner.Move((kDialPictureWidth - kDialSize) / 2, kDialTop, kDialSize, kDialSize);
    lblTuneDialRate.Move(kDialPictureLeft, kDialPictureTop + kDialTop + kDialSize, kDialPictureWidth,
                         kLabelHeight);
    lblTuneDialRate.setBackStyle(0);
    lblTuneDialRate.setAlignment(2);
    lblTuneDialRate.setToolTipText("Right Click to Set Tune Step");
}

void TuningControls::connect(FrontPanelCore& core, const TuningStepTable& steps) {
    TuningPanel& t = core.tuning;
    for (int16_t d = 0; d < kReadoutDigits; ++d) {
        SevenSegmentDigit& digit = *lbl7Seg[static_cast<size_t>(d)];
        digit.MouseMove = [&t, d](int16_t, int16_t, float, float) { t.lbl7Seg_MouseMove(d); };
        digit.MouseDown = [&t, d](int16_t button, int16_t, float, float) { t.lbl7Seg_MouseDown(d, button); };
        digit.Click = [&t, d] { t.lbl7Seg_Click(d); };
        digit.DblClick = [&t, d] { t.lbl7Seg_DblClick(d); };
    }
    picFreqDisp.KeyDown = [&t](int16_t& key, int16_t shift) { t.picFreqDisp_KeyDown(key, shift); };
    picFreqDisp.KeyUp = [&t](int16_t&, int16_t) { t.picFreqDisp_KeyUp(); };
    picFreqDisp.MouseMove = [&t](int16_t, int16_t, float, float) { t.picFreqDisp_MouseMove(); };
    picFreqDisp.MouseUp = [&t](int16_t button, int16_t, float, float) { t.picFreqDisp_MouseUp(button); };
    frFreqCtl.MouseMove = [&t](int16_t, int16_t, float, float) { t.frFreqCtl_MouseMove(); };
    lblTuningRate.Click = [&t] { t.lblTuningRate_Click(); };
    lblTuningRate.MouseDown = [&t](int16_t button, int16_t, float, float) {
        t.lblTuningRate_MouseDown(button);
    };
    lblTuneDialRate.MouseDown = [&t](int16_t button, int16_t, float, float) {
        t.lblTuneDialRate_MouseDown(button);
    };
    imgTuneStepLock.DblClick = [&t] { t.imgTuneStepLock_DblClick(); };
    for (int16_t i = 0; i < 3; ++i)
        lblScale[static_cast<size_t>(i)]->Click = [&t, i] { t.lblScale_Click(i); };
    cboTuningSteps.Clear();
    for (const int32_t step : steps)
        cboTuningSteps.AddItem(TuningStepListText(step));
    cboTuningSteps.Click = [&t, this] { t.cboTuningSteps_Click(cboTuningSteps.ListIndex()); };
    cboTuningSteps.KeyDown = [&t](int16_t& key, int16_t) { t.cboTuningSteps_KeyPress(key); };
    cboTuningSteps.LostFocus = [&t] { t.cboTuningSteps_LostFocus(); };
    dialtuner.Changing = [&core] { core.dial.DialTuner_Changing(); };
}

// ---- The view

void TuningControls::setDigitCaption(int16_t digit, const std::string& caption) {
    lbl7Seg.at(static_cast<size_t>(digit))->setCaption(caption);
}

void TuningControls::setDigitColour(int16_t digit, int32_t bgr) {
    lbl7Seg.at(static_cast<size_t>(digit))->setForeColor(bgr);
}

void TuningControls::setMarker(const TwipsRect& place, int32_t borderColour) {
    shpTuneStep.Move(place.left, place.top, place.width, place.height);
    shpTuneStep.setBorderColor(borderColour);
    shpTuneStep.setVisible(true);
}

void TuningControls::setTuningRateCaption(const std::string& caption) {
    lblTuningRate.setCaption(caption);
}

void TuningControls::setTuningRateLook(int32_t textColour, const std::string& toolTip) {
    lblTuningRate.setForeColor(textColour);
    lblTuningRate.setToolTipText(toolTip);
}

void TuningControls::setLockPictureVisible(bool visible) {
    imgTuneStepLock.setVisible(visible);
}

void TuningControls::setLoCaption(const std::string& caption) {
    if (hooks_.loCaption) hooks_.loCaption(caption);
}

void TuningControls::showStepSelector(int32_t left, int32_t top) {
    cboTuningSteps.setVisible(true);
    cboTuningSteps.setLeft(left);
    cboTuningSteps.setTop(top);
    cboTuningSteps.setBackColor(ui::fromQColor(QApplication::palette().color(QPalette::Button)));
    cboTuningSteps.setForeColor(0);
    cboTuningSteps.ZOrder(0);
}

void TuningControls::hideStepSelector() {
    cboTuningSteps.setVisible(false);
}

void TuningControls::focusReadout() {
    // A readout not on show yet cannot take the focus; the pointer over it is all the same.
    runtime::resumeNext([&] { picFreqDisp.SetFocus(); });
}

void TuningControls::setTuneRepeatInterval(int32_t ms) {
    if (hooks_.tuneRepeatInterval) hooks_.tuneRepeatInterval(ms);
}

TwipsRect TuningControls::digitRect(int16_t digit) const {
    return rectOf(*lbl7Seg.at(static_cast<size_t>(digit)));
}

TwipsRect TuningControls::readoutRect() const {
    return rectOf(picFreqDisp);
}

TwipsRect TuningControls::dialRect() const {
    // The dial sits in its picture; the selector is placed on the frame.
    TwipsRect r = rectOf(dialtuner);
    r.left += runtime::CLng(picTuneDial.Left());
    r.top += runtime::CLng(picTuneDial.Top());
    return r;
}

TwipsRect TuningControls::tuningRateRect() const {
    return rectOf(lblTuningRate);
}

TwipsRect TuningControls::stepSelectorRect() const {
    return rectOf(cboTuningSteps);
}

// ---- Knob labels

KnobLabelControl::KnobLabelControl(QWidget* container, int16_t knob, const std::string& caption)
    : label(container, caption), knob_(knob) {
    label.setIndex(knob);
}

void KnobLabelControl::connect(FrontPanelCore& core) {
    core.knobs.setKnobLabel(knob_, this);
    KnobPanel& knobs = core.knobs;
    const int16_t k = knob_;
    label.MouseMove = [&knobs, k](int16_t, int16_t, float, float) { knobs.knobLabel_MouseMove(k); };
    label.MouseDown = [&knobs, k](int16_t button, int16_t, float, float) {
        knobs.knobLabel_MouseDown(k, button);
    };
}

} // namespace frontpanel
