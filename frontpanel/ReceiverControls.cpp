// The receiver's controls on the main window and their wiring to the front panel's core.
#include "frontpanel/ReceiverControls.h"

#include <utility>

#include "frontpanel/FrontPanelDesign.h"

namespace frontpanel {

namespace {

namespace caption = design::caption;
using design::RowFrame;
using ui::place;

template <class T> void small(T& c) {
    c.setFontSize(design::kControlFontSize);
}

// Loads a run of buttons in their container at their places, in the small font.
template <class T> void loadRun(ui::ControlArray<T>& array, QWidget* parent, const design::ControlRun& run) {
    for (int16_t i = 0; i < run.count; ++i) {
        T& c = array.Load(i, parent);
        place(c, run(i));
        small(c);
    }
}

void placeVertical(ui::Slider& s, const ui::DesignRect& r) {
    s.setOrientation(1);
    place(s, r);
}

void placeCentred(ui::Label& l, const ui::DesignRect& r) {
    l.setAlignment(2);
    place(l, r);
    small(l);
}

void placeDialFrame(ui::CheckBox& check, dial::Dial& dial, KnobLabelControl& knob, ui::Slider& slider,
                    const design::DialFrame& d) {
    place(check, d.check);
    place(dial, d.dial);
    place(knob.label, d.knob);
    place(slider, d.slider);
}

} // namespace

ReceiverControls::ReceiverControls(const Hosts& h)
    : frDemod(h.form, caption::frDemod), frFilter(h.form, caption::frFilter), chkMusic(frFilter.container()),
      chkDynFilter(frFilter.container()), lblFloDesc(frFilter.container()), lblFHiDesc(frFilter.container()),
      lblFLo(frFilter.container()), lblFHi(frFilter.container()),
      lblFilterHi(frFilter.container(), kFilterHiKnob, caption::knobLabel),
      lblFilterLo(frFilter.container(), kFilterLoKnob, caption::knobLabel),
      frIFFilter(h.form, caption::frIFFilter), chkIFFilter(frIFFilter.container()),
      lblIFHiDesc(frIFFilter.container()), lblIFLoDesc(frIFFilter.container()),
      lblIFHi(frIFFilter.container(), kIFHiKnob, caption::knobLabel),
      lblIFLo(frIFFilter.container(), kIFLoKnob, caption::knobLabel), frAGC(h.form, caption::frAGC),
      chkAGC(frAGC.container()), sldAGCAttack(frAGC.container()), sldAGCDecay(frAGC.container()),
      lblAGCAttack(frAGC.container(), kAGCAttackKnob, caption::knobLabel),
      lblAGCDecay(frAGC.container(), kAGCDecayKnob, caption::knobLabel), frNB(h.form, caption::frNB),
      chkNB(frNB.container()), sldNB(frNB.container()), dialNB(frNB.container()),
      lblNB(frNB.container(), kNBKnob, caption::knobLabel), frNotch(h.form, caption::frNotch),
      chkNotchOn(frNotch.container()), chkNotchAuto(frNotch.container()), chkNotchType(frNotch.container()),
      chkNotchMirror(frNotch.container()), sldNotch(frNotch.container()), sldNotchWidth(frNotch.container()),
      lblNotch(frNotch.container()), lblNotchWidth(frNotch.container()), lblNotchCDesc(frNotch.container()),
      lblNotchWDesc(frNotch.container()), lblNotchC(frNotch.container(), kNotchCKnob, caption::knobLabel),
      lblNotchW(frNotch.container(), kNotchWKnob, caption::knobLabel), frAFOut(h.form, caption::frAFOut),
      chkMute(frAFOut.container()), sldOutVolume(frAFOut.container()), dialOutVol(frAFOut.container()),
      lblOutVol(frAFOut.container(), kOutVolKnob, caption::knobLabel), chkTuneLo(h.form),
      chkIQSelectUpper(h.form), frRFInSel(h.elektorPanel, caption::frRFInSel),
      frIFAttenuation(h.elektorPanel, caption::frIFAttenuation),
      frRecordSampling(h.recorderPanel, caption::frRecordSampling),
      frRecordBitsPerSample(h.recorderPanel, caption::frRecordBitsPerSample),
      lblRecordMBytesPerHr(h.recorderPanel),
      lblRecordMBytesPerHrDesc(h.recorderPanel, caption::lblRecordMBytesPerHrDesc), chkFlipIQ(h.calibPanel),
      sldBalance(h.calibPanel) {
    const std::pair<ui::Frame*, RowFrame> row[] = {
        {&frDemod, RowFrame::frDemod}, {&frFilter, RowFrame::frFilter}, {&frIFFilter, RowFrame::frIFFilter},
        {&frAGC, RowFrame::frAGC},     {&frNB, RowFrame::frNB},         {&frNotch, RowFrame::frNotch},
        {&frAFOut, RowFrame::frAFOut}};
    for (const auto& [frame, which] : row) {
        place(*frame, design::rowFrame(which, h.left, h.top));
        small(*frame);
    }
    for (int16_t i = 0; i < design::kModeButtonCount; ++i) {
        ui::OptionButton& b = optMode.Load(i, frDemod.container());
        place(b, design::optMode(i));
        b.setFontSize(design::kModeFontSize);
    }
    layOutFilterFrame();
    layOutIFFilterFrame();
    layOutAGCFrame();
    placeDialFrame(chkNB, dialNB, lblNB, sldNB, design::frNBControls);
    layOutNotchFrame();
    placeDialFrame(chkMute, dialOutVol, lblOutVol, sldOutVolume, design::frAFOutControls);
    // The housekeeping shows one of the two.
    place(chkTuneLo, design::sideSwitch(h.sideSwitchesLeft, h.sideSwitchesTop));
    place(chkIQSelectUpper, design::sideSwitch(h.sideSwitchesLeft, h.sideSwitchesTop));
    layOutPanels();

    // Sliders, dials and knob labels keep the form's font.
    for (ui::Control* c : std::initializer_list<ui::Control*>{
             &chkMusic, &chkDynFilter, &chkIFFilter, &chkAGC, &chkNB, &chkNotchOn, &chkNotchAuto,
             &chkNotchType, &chkNotchMirror, &chkMute, &chkTuneLo, &chkIQSelectUpper, &chkFlipIQ,
             &lblIFHiDesc, &lblIFLoDesc, &lblNotchCDesc, &lblNotchWDesc})
        small(*c);
    for (KnobLabelControl* k : knobLabels())
        k->label.setAlignment(1);
}

void ReceiverControls::layOutFilterFrame() {
    loadRun(optFilter, frFilter.container(), design::optFilter);
    for (int16_t i = 0; i < design::sldBW.count; ++i)
        placeVertical(sldBW.Load(i, frFilter.container()), design::sldBW(i));
    placeCentred(lblFHiDesc, design::lblFHiDesc);
    placeCentred(lblFloDesc, design::lblFloDesc);
    placeCentred(lblFHi, design::lblFHi);
    placeCentred(lblFLo, design::lblFLo);
    place(chkMusic, design::chkMusic);
    place(chkDynFilter, design::chkDynFilter);
    place(lblFilterHi.label, design::lblFilterHi);
    place(lblFilterLo.label, design::lblFilterLo);
}

void ReceiverControls::layOutIFFilterFrame() {
    place(chkIFFilter, design::chkIFFilter);
    loadRun(optIFFilter, frIFFilter.container(), design::optIFFilter);
    place(lblIFHiDesc, design::lblIFHiDesc);
    place(lblIFHi.label, design::lblIFHi);
    place(lblIFLoDesc, design::lblIFLoDesc);
    place(lblIFLo.label, design::lblIFLo);
}

void ReceiverControls::layOutAGCFrame() {
    place(chkAGC, design::chkAGC);
    loadRun(optAGC, frAGC.container(), design::optAGC);
    placeVertical(sldAGCAttack, design::sldAGCAttack);
    placeVertical(sldAGCDecay, design::sldAGCDecay);
    place(lblAGCAttack.label, design::lblAGCAttack);
    place(lblAGCDecay.label, design::lblAGCDecay);
}

void ReceiverControls::layOutNotchFrame() {
    place(chkNotchOn, design::chkNotchOn);
    place(chkNotchType, design::chkNotchType);
    place(chkNotchMirror, design::chkNotchMirror);
    place(chkNotchAuto, design::chkNotchAuto);
    loadRun(optNotch, frNotch.container(), design::optNotch);
    placeVertical(sldNotch, design::sldNotch);
    placeVertical(sldNotchWidth, design::sldNotchWidth);
    placeCentred(lblNotch, design::lblNotch);
    placeCentred(lblNotchWidth, design::lblNotchWidth);
    place(lblNotchCDesc, design::lblNotchCDesc);
    place(lblNotchC.label, design::lblNotchC);
    place(lblNotchWDesc, design::lblNotchWDesc);
    place(lblNotchW.label, design::lblNotchW);
}

void ReceiverControls::layOutPanels() {
    place(frRFInSel, design::frRFInSel);
    loadRun(optRFInSel, frRFInSel.container(), design::optRFInSel);
    place(frIFAttenuation, design::frIFAttenuation);
    loadRun(optIFAttenuation, frIFAttenuation.container(), design::optIFAttenuation);

    place(frRecordSampling, design::frRecordSampling);
    loadRun(optRecordSampleRate, frRecordSampling.container(), design::optRecordSampleRate);
    place(frRecordBitsPerSample, design::frRecordBitsPerSample);
    loadRun(optRecordSamplePerBit, frRecordBitsPerSample.container(), design::optRecordSamplePerBit);
    place(lblRecordMBytesPerHr, design::lblRecordMBytesPerHr);
    place(lblRecordMBytesPerHrDesc, design::lblRecordMBytesPerHrDesc);
    for (ui::Control* c : std::initializer_list<ui::Control*>{&frRFInSel, &frIFAttenuation, &frRecordSampling,
                                                              &frRecordBitsPerSample, &lblRecordMBytesPerHr,
                                                              &lblRecordMBytesPerHrDesc})
        small(*c);

    place(chkFlipIQ, design::chkFlipIQ);
    place(sldBalance, design::sldBalance);
}

std::array<KnobLabelControl*, 10> ReceiverControls::knobLabels() {
    return {&lblFilterHi, &lblFilterLo, &lblIFHi,   &lblIFLo,   &lblAGCAttack,
            &lblAGCDecay, &lblNB,       &lblNotchC, &lblNotchW, &lblOutVol};
}

void ReceiverControls::connect(FrontPanelCore& core) {
    core_ = &core;
    follow(core.modes.optMode, optMode);
    connectFilterFrame(core.filterControls);
    connectIFFilterFrame(core.filterControls);
    connectAGCFrame(core.levels);
    connectNBFrame(core.levels);
    connectNotchFrame(core.levels);
    connectAFOutFrame(core.levels);
    connectPanels(core.switches, core.levels);
    for (KnobLabelControl* k : knobLabels())
        k->connect(core);
    KnobPanel& knobs = core.knobs;
    const std::pair<ui::Frame*, KnobFrame> frames[] = {{&frAFOut, KnobFrame::frAFOut},
                                                       {&frAGC, KnobFrame::frAGC},
                                                       {&frIFFilter, KnobFrame::frIFFilter},
                                                       {&frNB, KnobFrame::frNB},
                                                       {&frNotch, KnobFrame::frNotch}};
    for (const auto& [frame, name] : frames)
        frame->MouseMove = [&knobs, name](int16_t, int16_t, float, float) { knobs.frame_MouseMove(name); };
}

void ReceiverControls::connectFilterFrame(FilterControls& f) {
    follow(f.optFilter, optFilter);
    follow(f.chkMusic, chkMusic);
    follow(f.chkDynFilter, chkDynFilter);
    for (int16_t i = 0; i < 2; ++i) {
        ui::Slider& widget = sldBW[i];
        follow(f.sldBW(i), widget);
        widget.MouseDown = [&f, i](int16_t button, int16_t, float, float) { f.sldBW_MouseDown(i, button); };
        widget.MouseMove = [&f, &widget, i](int16_t, int16_t, float x, float y) {
            f.sldBW_MouseMove(i, x, y, static_cast<float>(widget.Width()),
                              static_cast<float>(widget.Height()));
        };
        widget.LostFocus = [&f, i] { f.sldBW_LostFocus(i); };
    }
    follow(f.lblFloDesc, lblFloDesc);
    follow(f.lblFHiDesc, lblFHiDesc);
    follow(f.lblFLo, lblFLo);
    follow(f.lblFHi, lblFHi);
}

void ReceiverControls::connectIFFilterFrame(FilterControls& f) {
    follow(f.chkIFFilter, chkIFFilter);
    follow(f.optIFFilter, optIFFilter);
    follow(f.lblIFHiDesc, lblIFHiDesc);
    follow(f.lblIFLoDesc, lblIFLoDesc);
    unbind_.push_back(mirrorShown(f.lblIFHi, lblIFHi.label));
    unbind_.push_back(mirrorShown(f.lblIFLo, lblIFLo.label));
}

void ReceiverControls::connectAGCFrame(LevelControls& l) {
    follow(l.chkAGC, chkAGC);
    follow(l.optAGC, optAGC);
    follow(l.sldAGCAttack, sldAGCAttack);
    follow(l.sldAGCDecay, sldAGCDecay);
}

void ReceiverControls::connectNBFrame(LevelControls& l) {
    follow(l.chkNB, chkNB);
    follow(l.sldNB, sldNB);
    follow(l.dialNB, dialNB);
    sldNB.MouseDown = [&l](int16_t button, int16_t, float, float) { l.sldNB_MouseDown(button); };
}

void ReceiverControls::connectNotchFrame(LevelControls& l) {
    follow(l.chkNotchOn, chkNotchOn);
    follow(l.chkNotchAuto, chkNotchAuto);
    follow(l.optNotch, optNotch);
    follow(l.chkNotchType, chkNotchType);
    follow(l.chkNotchMirror, chkNotchMirror);
    follow(l.sldNotch, sldNotch);
    follow(l.sldNotchWidth, sldNotchWidth);
    sldNotchWidth.MouseDown = [&l](int16_t button, int16_t, float, float) {
        l.sldNotchWidth_MouseDown(button);
    };
    follow(l.lblNotch, lblNotch);
    follow(l.lblNotchWidth, lblNotchWidth);
    follow(l.lblNotchCDesc, lblNotchCDesc);
    follow(l.lblNotchWDesc, lblNotchWDesc);
    unbind_.push_back(mirrorShown(l.lblNotchC, lblNotchC.label));
    unbind_.push_back(mirrorShown(l.lblNotchW, lblNotchW.label));
}

void ReceiverControls::connectAFOutFrame(LevelControls& l) {
    follow(l.chkMute, chkMute);
    follow(l.sldOutVolume, sldOutVolume);
    follow(l.dialOutVol, dialOutVol);
    sldOutVolume.MouseDown = [&l](int16_t button, int16_t, float, float) {
        l.sldOutVolume_MouseDown(button);
    };
    sldOutVolume.MouseMove = [&l](int16_t, int16_t, float, float) { l.sldOutVolume_MouseMove(); };
}

void ReceiverControls::connectPanels(ReceiverSwitches& s, LevelControls& l) {
    follow(s.chkTuneLo, chkTuneLo);
    follow(s.chkIQSelectUpper, chkIQSelectUpper);
    follow(s.chkFlipIQ, chkFlipIQ);
    follow(s.optRFInSel, optRFInSel);
    follow(s.optIFAttenuation, optIFAttenuation);
    follow(s.optRecordSampleRate, optRecordSampleRate);
    follow(s.optRecordSamplePerBit, optRecordSamplePerBit);
    follow(s.lblRecordMBytesPerHr, lblRecordMBytesPerHr);
    follow(l.sldBalance, sldBalance);
}

ReceiverControls::~ReceiverControls() {
    for (const auto& undo : unbind_)
        undo();
    forEachControl([](ui::Control& c) {
        c.MouseDown = {};
        c.MouseMove = {};
        c.LostFocus = {};
    });
    if (!core_) return;
    for (KnobLabelControl* k : knobLabels()) {
        core_->knobs.setKnobLabel(k->knob(), nullptr);
        core_->ctlArray[static_cast<size_t>(k->knob())].Label = nullptr;
    }
}

void ReceiverControls::forEachControl(const std::function<void(ui::Control&)>& f) {
    for (ui::Control* c : std::initializer_list<ui::Control*>{&frDemod,
                                                              &frFilter,
                                                              &chkMusic,
                                                              &chkDynFilter,
                                                              &lblFloDesc,
                                                              &lblFHiDesc,
                                                              &lblFLo,
                                                              &lblFHi,
                                                              &lblFilterHi.label,
                                                              &lblFilterLo.label,
                                                              &frIFFilter,
                                                              &chkIFFilter,
                                                              &lblIFHiDesc,
                                                              &lblIFLoDesc,
                                                              &lblIFHi.label,
                                                              &lblIFLo.label,
                                                              &frAGC,
                                                              &chkAGC,
                                                              &sldAGCAttack,
                                                              &sldAGCDecay,
                                                              &lblAGCAttack.label,
                                                              &lblAGCDecay.label,
                                                              &frNB,
                                                              &chkNB,
                                                              &sldNB,
                                                              &dialNB,
                                                              &lblNB.label,
                                                              &frNotch,
                                                              &chkNotchOn,
                                                              &chkNotchAuto,
                                                              &chkNotchType,
                                                              &chkNotchMirror,
                                                              &sldNotch,
                                                              &sldNotchWidth,
                                                              &lblNotch,
                                                              &lblNotchWidth,
                                                              &lblNotchCDesc,
                                                              &lblNotchWDesc,
                                                              &lblNotchC.label,
                                                              &lblNotchW.label,
                                                              &frAFOut,
                                                              &chkMute,
                                                              &sldOutVolume,
                                                              &dialOutVol,
                                                              &lblOutVol.label,
                                                              &chkTuneLo,
                                                              &chkIQSelectUpper,
                                                              &frRFInSel,
                                                              &frIFAttenuation,
                                                              &frRecordSampling,
                                                              &frRecordBitsPerSample,
                                                              &lblRecordMBytesPerHr,
                                                              &lblRecordMBytesPerHrDesc,
                                                              &chkFlipIQ,
                                                              &sldBalance})
        f(*c);
    for (auto* array : {&optMode, &optFilter, &optIFFilter, &optAGC, &optNotch, &optRFInSel,
                        &optIFAttenuation, &optRecordSampleRate, &optRecordSamplePerBit})
        array->forEach([&f](ui::OptionButton& b) { f(b); });
    sldBW.forEach([&f](ui::Slider& s) { f(s); });
}

} // namespace frontpanel
