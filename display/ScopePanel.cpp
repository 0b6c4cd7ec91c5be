// The display panel's widgets and their places.
#include "display/ScopePanel.h"

#include <array>
#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/ui/Twips.h"

namespace display {

namespace {

// A picture box placed as itself, so its surface follows at once.
void placePicture(ui::PictureBox& pic, const ui::DesignRect& r) {
    ui::place(pic, r);
    pic.surface().resize(ui::pixels(r.Width), ui::pixels(r.Height));
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
    loadArrays();
    setToolTips();
    setSliders();
    layOut();
}

void ScopePanel::loadArrays() {
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
}

void ScopePanel::setToolTips() {
    const std::pair<ui::Control*, const char*> tips[] = {
        {&chkScopeMode[0], "Spectrum Analyser"},
        {&chkScopeMode[1], "Oscilloscope"},
        {&chkScopeMode[2], "Lissajous Y1:Y2"},
        {&chkChn1On, "Y1 On"},
        {&chkChn2On, "Y2 On"},
        {&chkTrigOn[1], "Trigger on Y1"},
        {&chkTrigOn[2], "Trigger on Y2"},
        {&chkLog, "Linear Y Scale"},
        {&chkSmoothSpectrum, "Realtime Display"},
        {&chkScopeShowFilters, "Show Filter Curve"},
        {&chkSpectrumAnalyser, "Click to turn on Spectrum Display"},
        {&chkPerfStatsOn, "Click  Turn on Radio Stats"},
        {&lblScopeXWidth.label, "Sweep Adjust"},
        {&lblScopeXCentre.label, "Centre Offset Adjust"},
        {&lblSpectrumSmooth.label, "Spectrum Smoothing"},
        {&lblFrameRate.label, "Display Frame Rate"},
    };
    for (const auto& [control, tip] : tips)
        control->setToolTipText(tip);
}

// The sliders' design values; the mode change sets the sweep sliders' ranges and steps.
void ScopePanel::setSliders() {
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
}

void ScopePanel::layOut() {
    // The image area frames the pictures; the pictures lie on it, hidden labels over them.
    ui::place(imgAreaScope, design::imgAreaScope);
    placePicture(picScopeArea, design::picScopeArea);
    for (int16_t i = 0; i <= 1; ++i) {
        placePicture(picScope[i], design::picScope);
        picScope[i].setBackColor(0);
        ui::Label& label = lblSpectrumFreq[i];
        label.setAutoSize(true);
        label.setFontSize(design::kFontSize);
        label.setForeColor(0xFFFFFF);
        label.setBackColor(0x400000);
        label.setVisible(false);
    }
    picScope[1].setVisible(false);
    placePicture(picScopeCtls, design::picScopeCtls);

    const std::vector<Placed> controls = controlPlaces();
    for (const Placed& p : controls)
        ui::place(p.control, p.rect);
    ui::place(picSliders, design::picSliders);
    picSliders.setVisible(false);
    ui::place(sldSpectrumGain, design::slider(0));
    ui::place(sldXWidth, design::slider(1));
    ui::place(sldXCentre, design::slider(2));
    for (const Placed& p : controls)
        p.control.setFontSize(design::kFontSize);
}

// The controls in picScopeCtls and its frames, column by column.
std::vector<ScopePanel::Placed> ScopePanel::controlPlaces() {
    std::vector<Placed> p{
        {frScopeMode, design::frScopeMode},
        {chkScopeMode[0], design::chkScopeMode(0)},
        {chkScopeMode[1], design::chkScopeMode(1)},
        {chkScopeMode[2], design::chkScopeMode(2)},
        {chkSpectrumAnalyser, design::chkSpectrumAnalyser},
        {frScopeSweep, design::frScopeSweep},
        {lblScopeXWidth.label, design::lblScopeXWidth},
        {lblScopeCtl[6], design::lblScopeXWidthCaption},
        {lblScopeXCentre.label, design::lblScopeXCentre},
        {lblScopeCtl[7], design::lblScopeXCentreCaption},
        {frScopeYMode, design::frScopeYMode},
        {chkLog, design::chkLog},
        {chkSmoothSpectrum, design::chkSmoothSpectrum},
        {lblSpectrumSmooth.label, design::lblSpectrumSmooth},
        {chkScopeShowFilters, design::chkScopeShowFilters},
        {chkSpectrumAutoGain, design::chkSpectrumAutoGain},
    };
    // Each channel's rows: gain, shift, trigger, brightness, a caption beside each control.
    using Row = design::ChannelRow;
    const auto channel = [&](int n, ui::Frame& frame, ui::CheckBox& on, std::array<ui::Label*, 4> captions,
                             std::array<ui::Control*, 4> rows) {
        p.push_back({frame, design::frScopeChnCtl(n)});
        p.push_back({on, design::chkChnOn});
        for (const Row r : {Row::Gain, Row::Shift, Row::Trig, Row::Brite})
            p.push_back({*captions[static_cast<size_t>(r)], design::channelCaption(r)});
        for (const Row r : {Row::Gain, Row::Shift, Row::Trig, Row::Brite})
            p.push_back({*rows[static_cast<size_t>(r)], design::channelControl(r)});
    };
    channel(1, frScopeChn1Ctl, chkChn1On,
            {&lblScopeCtl[0], &lblScopeCtl[1], &lblScopeCtl[2], &lblScopeCtl[8]},
            {&lblScopeChn1Gain.label, &lblScopeChn1Shift.label, &chkTrigOn[1], &lblY1Bright.label});
    channel(2, frScopeChn2Ctl, chkChn2On,
            {&lblScopeCtl[5], &lblScopeCtl[4], &lblScopeCtl[3], &lblScopeCtl[9]},
            {&lblScopeChn2Gain.label, &lblScopeChn2Shift.label, &chkTrigOn[2], &lblY2Bright.label});
    for (int16_t i = 0; i < 4; ++i)
        p.push_back({optSpectrumSource[i], design::optSpectrumSource(i)});
    p.push_back({lblFrameRate.label, design::lblFrameRate});
    p.push_back({chkPerfStatsOn, design::chkPerfStatsOn});
    return p;
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

} // namespace display
