// The display panel's widgets, their places, and their wiring to the panel's core and the knob table.
#include "display/ScopePanel.h"

#include <initializer_list>

#include "platform/runtime/RuntimeError.h"
#include "platform/ui/Twips.h"

namespace display {

namespace {

// Caption colours of a ticked or selected control and of the others.
constexpr int32_t kChosenColour = 0xFFFF00;
constexpr int32_t kOtherColour = 0xC0C000;

// The panel's design, in twips: the display pictures in their container, the controls beside them.
constexpr double kPictureLeft = 30, kPictureTop = 180, kPictureWidth = 7680;
constexpr double kCtlsLeft = 7785, kCtlsTop = 15, kCtlsWidth = 4530, kCtlsHeight = 2865;
constexpr double kRow = 225;         // one row of check boxes or knob labels
constexpr double kBoxHeight = 225;   // a check box or option button
constexpr double kLabelHeight = 210; // a caption or knob label
constexpr double kFontSize = 7;

void markBox(ui::CheckBox& b) {
    b.setForeColor(b.Value() == 1 ? kChosenColour : kOtherColour);
}

} // namespace

ScopePanel::ScopePanel(QWidget* parent, double left, double top)
    : picScopeContainer(parent), imgAreaScope(picScopeContainer.widget()),
      picScopeArea(picScopeContainer.widget()), picScopeCtls(picScopeContainer.widget()),
      frScopeMode(picScopeCtls.widget(), "Scope"), chkSpectrumAnalyser(frScopeMode.container()),
      frScopeSweep(picScopeCtls.widget(), "Sweep"), frScopeYMode(picScopeCtls.widget(), "Y Mode"),
      chkLog(frScopeYMode.container(), "Lin"), chkSmoothSpectrum(frScopeYMode.container(), "Fast"),
      chkScopeShowFilters(frScopeYMode.container(), "Show Fltr "),
      chkSpectrumAutoGain(frScopeYMode.container(), "AutoGain"),
      frScopeChn1Ctl(picScopeCtls.widget(), "Chn1"), chkChn1On(frScopeChn1Ctl.container()),
      frScopeChn2Ctl(picScopeCtls.widget(), "Chn2"), chkChn2On(frScopeChn2Ctl.container()),
      chkPerfStatsOn(picScopeCtls.widget(), "On"),
      lblScopeChn1Gain(frScopeChn1Ctl.container(), kScopeChn1GainKnob),
      lblScopeChn1Shift(frScopeChn1Ctl.container(), kScopeChn1ShiftKnob),
      lblY1Bright(frScopeChn1Ctl.container(), lblY1BrightIndex),
      lblScopeChn2Gain(frScopeChn2Ctl.container(), kScopeChn2GainKnob),
      lblScopeChn2Shift(frScopeChn2Ctl.container(), kScopeChn2ShiftKnob),
      lblY2Bright(frScopeChn2Ctl.container(), lblY2BrightIndex),
      lblScopeXWidth(frScopeSweep.container(), kScopeXWidthKnob),
      lblScopeXCentre(frScopeSweep.container(), kScopeXCentreKnob),
      lblSpectrumSmooth(frScopeYMode.container(), lblSpectrumSmoothIndex),
      lblFrameRate(picScopeCtls.widget(), lblFrameRateIndex), picSliders(picScopeCtls.widget()),
      sldSpectrumGain(picSliders.widget()), sldXWidth(picSliders.widget()), sldXCentre(picSliders.widget()) {
    picScopeContainer.Move(left, top, kDesignWidth, kDesignHeight);
    picScopeContainer.surface().resize(ui::pixels(kDesignWidth), ui::pixels(kDesignHeight));
    for (int16_t i = 0; i <= 1; ++i) {
        ui::PictureBox& pic = picScope.Load(i, picScopeArea.widget());
        lblSpectrumFreq.Load(i, pic.widget());
    }
    chkScopeMode.Load(0, frScopeMode.container(), "Freq");
    chkScopeMode.Load(1, frScopeMode.container(), "Time");
    chkScopeMode.Load(2, frScopeMode.container(), "Phase");
    chkTrigOn.Load(1, frScopeChn1Ctl.container());
    chkTrigOn.Load(2, frScopeChn2Ctl.container());
    const char* ctlCaptions[10] = {"Gain", "Shift",  "Trig", "Trig",  "Shift",
                                   "Gain", "ms/Div", "Hz",   "Brite", "Brite"};
    const ui::Frame* ctlFrames[10] = {&frScopeChn1Ctl, &frScopeChn1Ctl, &frScopeChn1Ctl, &frScopeChn2Ctl,
                                      &frScopeChn2Ctl, &frScopeChn2Ctl, &frScopeSweep,   &frScopeSweep,
                                      &frScopeChn1Ctl, &frScopeChn2Ctl};
    for (int16_t i = 0; i < 10; ++i)
        lblScopeCtl.Load(i, ctlFrames[i]->container(), ctlCaptions[i]);
    const char* sources[4] = {"IF in", "Pre Demod", "Post Demod", "AF Out"};
    const char* sourceTips[4] = {"IF Input", "After IF & Notch Filters", "Unfiltered Demodulation",
                                 "What you hear"};
    for (int16_t i = 0; i < 4; ++i)
        optSpectrumSource.Load(i, picScopeCtls.widget(), sources[i]).setToolTipText(sourceTips[i]);

    chkScopeMode[0].setToolTipText("Spectrum Analyser");
    chkScopeMode[1].setToolTipText("Oscilloscope");
    chkScopeMode[2].setToolTipText("Lissajous Y1:Y2");
    chkChn1On.setToolTipText("Y1 On");
    chkChn2On.setToolTipText("Y2 On");
    chkTrigOn[1].setToolTipText("Trigger on Y1");
    chkTrigOn[2].setToolTipText("Trigger on Y2");
    chkLog.setToolTipText("Linear Y Scale");
    chkSmoothSpectrum.setToolTipText("Realtime Display");
    chkScopeShowFilters.setToolTipText("Show Filter Curve");
    chkSpectrumAnalyser.setToolTipText("Click to turn on Spectrum Display");
    chkPerfStatsOn.setToolTipText("Click  Turn on Radio Stats");
    lblScopeXWidth.label.setToolTipText("Sweep Adjust");
    lblScopeXCentre.label.setToolTipText("Centre Offset Adjust");
    lblSpectrumSmooth.label.setToolTipText("Spectrum Smoothing");
    lblFrameRate.label.setToolTipText("Display Frame Rate");

    // The sliders' design values; the mode change sets the sweep sliders' ranges and steps.
    sldSpectrumGain.setMin(0);
    sldSpectrumGain.setMax(8);
    sldSpectrumGain.setValue(4);
    sldSpectrumGain.setLargeChange(1);
    sldSpectrumGain.setSmallChange(1);
    sldSpectrumGain.setTickFrequency(1);
    for (ui::Slider* s : {&sldXWidth, &sldXCentre}) {
        s->setMax(24000);
        s->setMin(1000);
        s->setValue(1000);
        s->setLargeChange(100);
        s->setSmallChange(10);
        s->setTickFrequency(1000);
    }
    layOut();
}

void ScopePanel::layOut() {
    // The image area frames the pictures; the pictures lie on it.
    imgAreaScope.Move(0, 0, kCtlsLeft - 30, kDesignHeight);
    picScopeArea.Move(0, 0, kCtlsLeft - 30, kFreeTop);
    picScopeArea.surface().resize(ui::pixels(kCtlsLeft - 30), ui::pixels(kFreeTop));
    // The analyser's set-up places the pictures again, from the holder's height, the same way.
    const double pictureHeight = kFreeTop - kPictureTop - 50;
    for (int16_t i = 0; i <= 1; ++i) {
        ui::PictureBox& pic = picScope[i];
        pic.Move(kPictureLeft, kPictureTop, kPictureWidth, pictureHeight);
        pic.surface().resize(ui::pixels(kPictureWidth), ui::pixels(pictureHeight));
        pic.setBackColor(0);
        ui::Label& label = lblSpectrumFreq[i];
        label.setAutoSize(true);
        label.setFontSize(kFontSize);
        label.setForeColor(0xFFFFFF);
        label.setBackColor(0x400000);
        label.setVisible(false);
    }
    picScope[1].setVisible(false);
    picScopeCtls.Move(kCtlsLeft, kCtlsTop, kCtlsWidth, kCtlsHeight);
    picScopeCtls.surface().resize(ui::pixels(kCtlsWidth), ui::pixels(kCtlsHeight));

    // Column one: the mode, the sweep and the Y mode.
    const double colA = 30, colWidth = 1500, colB = 1575, colC = 3120;
    frScopeMode.Move(colA, 0, colWidth, 975);
    for (int16_t i = 0; i <= 2; ++i)
        chkScopeMode[i].Move(90, 210 + i * kRow, 900, kBoxHeight);
    chkSpectrumAnalyser.Move(1110, 210, 300, kBoxHeight);
    frScopeSweep.Move(colA, 1005, colWidth, 690);
    lblScopeXWidth.label.Move(90, 225, 720, kLabelHeight);
    lblScopeCtl[6].Move(840, 225, 600, kLabelHeight);
    lblScopeXCentre.label.Move(90, 450, 720, kLabelHeight);
    lblScopeCtl[7].Move(840, 450, 600, kLabelHeight);
    frScopeYMode.Move(colA, 1725, colWidth, 1125);
    chkLog.Move(90, 210, 700, kBoxHeight);
    chkSmoothSpectrum.Move(90, 210 + kRow, 700, kBoxHeight);
    lblSpectrumSmooth.label.Move(840, 225 + kRow, 600, kLabelHeight);
    chkScopeShowFilters.Move(90, 210 + 2 * kRow, 1380, kBoxHeight);
    chkSpectrumAutoGain.Move(90, 210 + 3 * kRow, 1380, kBoxHeight);

    // Column two: the channels, with their captions beside their knobs.
    const auto channel = [&](ui::Frame& frame, double top, ui::CheckBox& on, ui::Label& gainCaption,
                             frontpanel::KnobLabelControl& gain, ui::Label& shiftCaption,
                             frontpanel::KnobLabelControl& shift, ui::Label& trigCaption, ui::CheckBox& trig,
                             ui::Label& briteCaption, frontpanel::KnobLabelControl& brite) {
        frame.Move(colB, top, colWidth, 1410);
        on.Move(1110, 0, 300, kBoxHeight);
        ui::Label* captions[4] = {&gainCaption, &shiftCaption, &trigCaption, &briteCaption};
        for (int r = 0; r < 4; ++r)
            captions[r]->Move(90, 240 + r * 270, 570, kLabelHeight);
        gain.label.Move(690, 240, 720, kLabelHeight);
        shift.label.Move(690, 240 + 270, 720, kLabelHeight);
        trig.Move(690, 225 + 2 * 270, 300, kBoxHeight);
        brite.label.Move(690, 240 + 3 * 270, 720, kLabelHeight);
    };
    channel(frScopeChn1Ctl, 0, chkChn1On, lblScopeCtl[0], lblScopeChn1Gain, lblScopeCtl[1], lblScopeChn1Shift,
            lblScopeCtl[2], chkTrigOn[1], lblScopeCtl[8], lblY1Bright);
    channel(frScopeChn2Ctl, 1440, chkChn2On, lblScopeCtl[5], lblScopeChn2Gain, lblScopeCtl[4],
            lblScopeChn2Shift, lblScopeCtl[3], chkTrigOn[2], lblScopeCtl[9], lblY2Bright);

    // Column three: the source point, the frame rate and the statistics switch.
    for (int16_t i = 0; i < 4; ++i)
        optSpectrumSource[i].Move(colC, 60 + i * kRow, 1410, kBoxHeight);
    lblFrameRate.label.Move(colC + 90, 1080, 600, kLabelHeight);
    chkPerfStatsOn.Move(colC, 2580, 900, kBoxHeight);
    picSliders.Move(colC, 1500, 1350, 900);
    picSliders.setVisible(false);
    sldSpectrumGain.Move(0, 0, 1350, 300);
    sldXWidth.Move(0, 300, 1350, 300);
    sldXCentre.Move(0, 600, 1350, 300);

    for (ui::Control* c : std::initializer_list<ui::Control*>{&frScopeMode,
                                                              &frScopeSweep,
                                                              &frScopeYMode,
                                                              &frScopeChn1Ctl,
                                                              &frScopeChn2Ctl,
                                                              &chkSpectrumAnalyser,
                                                              &chkLog,
                                                              &chkSmoothSpectrum,
                                                              &chkScopeShowFilters,
                                                              &chkSpectrumAutoGain,
                                                              &chkChn1On,
                                                              &chkChn2On,
                                                              &chkPerfStatsOn,
                                                              &lblScopeChn1Gain.label,
                                                              &lblScopeChn1Shift.label,
                                                              &lblY1Bright.label,
                                                              &lblScopeChn2Gain.label,
                                                              &lblScopeChn2Shift.label,
                                                              &lblY2Bright.label,
                                                              &lblScopeXWidth.label,
                                                              &lblScopeXCentre.label,
                                                              &lblSpectrumSmooth.label,
                                                              &lblFrameRate.label})
        c->setFontSize(kFontSize);
    chkScopeMode.forEach([](ui::CheckBox& b) { b.setFontSize(kFontSize); });
    chkTrigOn.forEach([](ui::CheckBox& b) { b.setFontSize(kFontSize); });
    lblScopeCtl.forEach([](ui::Label& l) { l.setFontSize(kFontSize); });
    optSpectrumSource.forEach([](ui::OptionButton& o) { o.setFontSize(kFontSize); });
}

void ScopePanel::connect(ScopePanelCore& core, frontpanel::FrontPanelCore& frontPanel) {
    ScopePanelCore* c = &core;
    const auto boxClick = [](ui::CheckBox& b, std::function<void()> handler) {
        b.Click = [&b, handler = std::move(handler)] {
            markBox(b);
            handler();
        };
    };
    boxClick(chkChn1On, [c] { c->chkChn1On_Click(); });
    boxClick(chkChn2On, [c] { c->chkChn2On_Click(); });
    boxClick(chkScopeShowFilters, [c] { c->chkScopeShowFilters_Click(); });
    boxClick(chkSpectrumAutoGain, [c] { c->chkSpectrumAutoGain_Click(); });
    boxClick(chkSpectrumAnalyser, [c] { c->chkSpectrumAnalyser_Click(); });
    boxClick(chkPerfStatsOn, [c] { c->chkPerfStatsOn_Click(); });
    boxClick(chkLog, [c] { c->chkLog_Click(); });
    boxClick(chkSmoothSpectrum, [c] { c->chkSmoothSpectrum_Click(); });
    chkScopeMode.Click = [this, c](int16_t Index) {
        markBox(chkScopeMode[Index]);
        c->chkScopeMode_Click(Index);
    };
    chkTrigOn.Click = [this, c](int16_t Index) {
        markBox(chkTrigOn[Index]);
        c->chkTrigOn_Click(Index);
    };
    optSpectrumSource.Click = [this, c](int16_t Index) {
        optSpectrumSource.forEach([Index](ui::OptionButton& o) {
            o.setForeColor(o.Index() == Index ? kChosenColour : kOtherColour);
        });
        c->optSpectrumSource_Click(Index);
    };

    sldSpectrumGain.Change = [c] { c->sldSpectrumGain_Change(); };
    sldXCentre.Change = [c] { c->sldXCentre_Change(); };
    sldXWidth.Change = [c] { c->sldXWidth_Change(); };
    sldSpectrumGain.MouseDown = [c](int16_t Button, int16_t, float, float) {
        c->sldSpectrumGain_MouseDown(Button);
    };
    sldXCentre.MouseDown = [c](int16_t Button, int16_t, float, float) { c->sldXCentre_MouseDown(Button); };
    sldXWidth.MouseDown = [c](int16_t Button, int16_t, float, float) { c->sldXWidth_MouseDown(Button); };

    for (int16_t i = 0; i <= 1; ++i) {
        picScope[i].MouseMove = [c, i](int16_t Button, int16_t Shift, float X, float Y) {
            c->picScope_MouseMove(i, Button, Shift, X, Y);
        };
        picScope[i].MouseDown = [c, i](int16_t Button, int16_t Shift, float X, float Y) {
            c->picScope_MouseDown(i, Button, Shift, X, Y);
        };
    }
    picScopeContainer.MouseMove = [c](int16_t, int16_t, float, float) { c->picScopeContainer_MouseMove(); };
    picScopeCtls.MouseMove = [c](int16_t, int16_t, float, float) { c->picScopeCtls_MouseMove(); };
    imgAreaScope.MouseMove = [c](int16_t, int16_t, float, float) { c->imgAreaScope_MouseMove(); };
    picScopeArea.MouseMove = [c](int16_t, int16_t, float, float) { c->imgAreaScope_MouseMove(); };

    frontpanel::KnobPanel& knobs = frontPanel.knobs;
    const auto frame = [&knobs](ui::Frame& f, frontpanel::KnobFrame which) {
        f.MouseMove = [&knobs, which](int16_t, int16_t, float, float) { knobs.frame_MouseMove(which); };
    };
    frame(frScopeMode, frontpanel::KnobFrame::frScopeMode);
    frame(frScopeSweep, frontpanel::KnobFrame::frScopeSweep);
    frame(frScopeYMode, frontpanel::KnobFrame::frScopeYMode);
    frame(frScopeChn1Ctl, frontpanel::KnobFrame::frScopeChn1Ctl);
    frame(frScopeChn2Ctl, frontpanel::KnobFrame::frScopeChn2Ctl);
    for (frontpanel::KnobLabelControl* k :
         {&lblScopeChn1Gain, &lblScopeChn1Shift, &lblY1Bright, &lblScopeChn2Gain, &lblScopeChn2Shift,
          &lblY2Bright, &lblScopeXWidth, &lblScopeXCentre, &lblSpectrumSmooth, &lblFrameRate})
        k->connect(frontPanel);
}

void ScopePanel::forEachControl(const std::function<void(ui::Control&)>& visit) {
    for (ui::Control* c : std::initializer_list<ui::Control*>{&picScopeContainer,
                                                              &imgAreaScope,
                                                              &picScopeArea,
                                                              &picScopeCtls,
                                                              &frScopeMode,
                                                              &chkSpectrumAnalyser,
                                                              &frScopeSweep,
                                                              &frScopeYMode,
                                                              &chkLog,
                                                              &chkSmoothSpectrum,
                                                              &chkScopeShowFilters,
                                                              &chkSpectrumAutoGain,
                                                              &frScopeChn1Ctl,
                                                              &chkChn1On,
                                                              &frScopeChn2Ctl,
                                                              &chkChn2On,
                                                              &chkPerfStatsOn,
                                                              &lblScopeChn1Gain.label,
                                                              &lblScopeChn1Shift.label,
                                                              &lblY1Bright.label,
                                                              &lblScopeChn2Gain.label,
                                                              &lblScopeChn2Shift.label,
                                                              &lblY2Bright.label,
                                                              &lblScopeXWidth.label,
                                                              &lblScopeXCentre.label,
                                                              &lblSpectrumSmooth.label,
                                                              &lblFrameRate.label,
                                                              &picSliders,
                                                              &sldSpectrumGain,
                                                              &sldXWidth,
                                                              &sldXCentre})
        visit(*c);
    picScope.forEach(visit);
    lblSpectrumFreq.forEach(visit);
    chkScopeMode.forEach(visit);
    chkTrigOn.forEach(visit);
    lblScopeCtl.forEach(visit);
    optSpectrumSource.forEach(visit);
}

void connectWindowHover(ScopePanelCore& core, frontpanel::ReceiverControls& receiver, ui::Control& picCalib) {
    ScopePanelCore* c = &core;
    ui::Frame* demod = &receiver.frDemod;
    ui::Frame* filter = &receiver.frFilter;
    demod->MouseMove = [c, demod](int16_t, int16_t, float, float) {
        c->frDemod_MouseMove([demod](int32_t colour) { demod->setForeColor(colour); });
    };
    filter->MouseMove = [c, filter](int16_t, int16_t, float, float) {
        c->frFilters_MouseMove([filter](int32_t colour) { filter->setForeColor(colour); });
    };
    picCalib.MouseMove = [c](int16_t, int16_t, float, float) { c->picCalib_MouseMove(); };
}

// ---- ScopePanelView

ui::CheckBox& ScopePanel::box(ScopeBox which) const {
    auto& self = const_cast<ScopePanel&>(*this);
    switch (which) {
    case ScopeBox::chkScopeMode0:
        return self.chkScopeMode[0];
    case ScopeBox::chkScopeMode1:
        return self.chkScopeMode[1];
    case ScopeBox::chkScopeMode2:
        return self.chkScopeMode[2];
    case ScopeBox::chkTrigOn1:
        return self.chkTrigOn[1];
    case ScopeBox::chkTrigOn2:
        return self.chkTrigOn[2];
    case ScopeBox::chkChn1On:
        return self.chkChn1On;
    case ScopeBox::chkChn2On:
        return self.chkChn2On;
    case ScopeBox::chkLog:
        return self.chkLog;
    case ScopeBox::chkSmoothSpectrum:
        return self.chkSmoothSpectrum;
    case ScopeBox::chkScopeShowFilters:
        return self.chkScopeShowFilters;
    case ScopeBox::chkSpectrumAutoGain:
        return self.chkSpectrumAutoGain;
    case ScopeBox::chkSpectrumAnalyser:
        return self.chkSpectrumAnalyser;
    case ScopeBox::chkPerfStatsOn:
        return self.chkPerfStatsOn;
    }
    runtime::raise(runtime::err::kInvalidPropertyArrayIndex, "ScopePanel");
}

ui::Control& ScopePanel::part(ScopePart which) const {
    auto& self = const_cast<ScopePanel&>(*this);
    switch (which) {
    case ScopePart::frScopeSweep:
        return self.frScopeSweep;
    case ScopePart::frScopeYMode:
        return self.frScopeYMode;
    case ScopePart::chkTrigOn1:
        return self.chkTrigOn[1];
    case ScopePart::chkTrigOn2:
        return self.chkTrigOn[2];
    case ScopePart::chkChn1On:
        return self.chkChn1On;
    case ScopePart::chkChn2On:
        return self.chkChn2On;
    case ScopePart::chkScopeShowFilters:
        return self.chkScopeShowFilters;
    case ScopePart::lblScopeCtl2:
        return self.lblScopeCtl[2];
    case ScopePart::lblScopeCtl3:
        return self.lblScopeCtl[3];
    case ScopePart::lblScopeCtl6:
        return self.lblScopeCtl[6];
    case ScopePart::lblScopeCtl7:
        return self.lblScopeCtl[7];
    case ScopePart::lblScopeXCentre:
        return self.lblScopeXCentre.label;
    case ScopePart::lblSpectrumSmooth:
        return self.lblSpectrumSmooth.label;
    }
    runtime::raise(runtime::err::kInvalidPropertyArrayIndex, "ScopePanel");
}

ui::Slider& ScopePanel::slider(ScopeSlider which) const {
    auto& self = const_cast<ScopePanel&>(*this);
    switch (which) {
    case ScopeSlider::sldSpectrumGain:
        return self.sldSpectrumGain;
    case ScopeSlider::sldXWidth:
        return self.sldXWidth;
    case ScopeSlider::sldXCentre:
        return self.sldXCentre;
    }
    runtime::raise(runtime::err::kInvalidPropertyArrayIndex, "ScopePanel");
}

int16_t ScopePanel::Value(ScopeBox which) const {
    return box(which).Value();
}

void ScopePanel::setValue(ScopeBox which, int16_t value) {
    box(which).setValue(value);
}

void ScopePanel::selectSource(int16_t index) {
    optSpectrumSource[index].setValue(true);
}

void ScopePanel::setVisible(ScopePart which, bool on) {
    part(which).setVisible(on);
}

void ScopePanel::setEnabled(ScopePart which, bool on) {
    part(which).setEnabled(on);
}

void ScopePanel::setCaption(ScopePart which, const std::string& caption) {
    ui::Control& c = part(which);
    if (auto* f = dynamic_cast<ui::Frame*>(&c)) return f->setCaption(caption);
    if (auto* l = dynamic_cast<ui::Label*>(&c)) return l->setCaption(caption);
    if (auto* b = dynamic_cast<ui::CheckBox*>(&c)) return b->setCaption(caption);
    runtime::raise(runtime::err::kInvalidPropertyValue, "ScopePanel.Caption");
}

int32_t ScopePanel::Min(ScopeSlider which) const {
    return slider(which).Min();
}

int32_t ScopePanel::Max(ScopeSlider which) const {
    return slider(which).Max();
}

int32_t ScopePanel::Value(ScopeSlider which) const {
    return slider(which).Value();
}

void ScopePanel::setMin(ScopeSlider which, int32_t value) {
    slider(which).setMin(value);
}

void ScopePanel::setMax(ScopeSlider which, int32_t value) {
    slider(which).setMax(value);
}

void ScopePanel::setValue(ScopeSlider which, int32_t value) {
    slider(which).setValue(value);
}

void ScopePanel::setSteps(ScopeSlider which, const SliderSteps& steps) {
    ui::Slider& s = slider(which);
    s.setTickFrequency(steps.TickFrequency);
    s.setSmallChange(steps.SmallChange);
    s.setLargeChange(steps.LargeChange);
}

void ScopePanel::setToolTipText(ScopeSlider which, const std::string& text) {
    slider(which).setToolTipText(text);
}

void ScopePanel::Refresh(ScopeSlider which) {
    slider(which).Refresh();
}

ui::Picture& ScopePanel::displayPicture(int16_t index) {
    return picScope[index];
}

std::string ScopePanel::Tag(int16_t picture) const {
    return picScope[picture].Tag;
}

void ScopePanel::setTag(int16_t picture, const std::string& text) {
    picScope[picture].Tag = text;
}

void ScopePanel::setFreqLabelCaption(int16_t index, const std::string& caption) {
    lblSpectrumFreq[index].setCaption(caption);
}

double ScopePanel::FreqLabelWidth(int16_t index) const {
    return lblSpectrumFreq[index].Width();
}

double ScopePanel::FreqLabelHeight(int16_t index) const {
    return lblSpectrumFreq[index].Height();
}

void ScopePanel::moveFreqLabel(int16_t index, double left, double top, double width, double height) {
    lblSpectrumFreq[index].Move(left, top, width, height);
}

void ScopePanel::setFreqLabelVisible(int16_t index, bool on) {
    lblSpectrumFreq[index].setVisible(on);
}

} // namespace display
