// The receiver's controls on the main window and their wiring to the front panel's core.
#include "frontpanel/ReceiverControls.h"

#include "frontpanel/FrontPanelDesign.h"
#include "frontpanel/PanelMirrors.h"

namespace frontpanel {

namespace {

// Twips. Rows of option buttons and check boxes, and the frames' common height.
constexpr int32_t kRow = design::kRow;
constexpr int32_t kFirstRow = design::kFirstRow;
constexpr double kFontSize = 7.5;

template <class T> void loadButtons(ui::ControlArray<T>& array, QWidget* parent, int16_t count) {
    for (int16_t i = 0; i < count; ++i)
        array.Load(i, parent).setFontSize(kFontSize);
}

void small(ui::Control& c) {
    c.setFontSize(kFontSize);
}

} // namespace

ReceiverControls::ReceiverControls(const Hosts& h)
    : frDemod(h.form, "Mode"), frFilter(h.form, "AF Filter"), chkMusic(frFilter.container()),
      chkDynFilter(frFilter.container()), lblFloDesc(frFilter.container()), lblFHiDesc(frFilter.container()),
      lblFLo(frFilter.container()), lblFHi(frFilter.container()),
      lblFilterHi(frFilter.container(), kFilterHiKnob, "0"),
      lblFilterLo(frFilter.container(), kFilterLoKnob, "0"), frIFFilter(h.form, "IF Filtr"),
      chkIFFilter(frIFFilter.container()), lblIFHiDesc(frIFFilter.container()),
      lblIFLoDesc(frIFFilter.container()), lblIFHi(frIFFilter.container(), kIFHiKnob, "0"),
      lblIFLo(frIFFilter.container(), kIFLoKnob, "0"), frAGC(h.form, "AGC"), chkAGC(frAGC.container()),
      sldAGCAttack(frAGC.container()), sldAGCDecay(frAGC.container()),
      lblAGCAttack(frAGC.container(), kAGCAttackKnob, "0"),
      lblAGCDecay(frAGC.container(), kAGCDecayKnob, "0"), frNB(h.form, "NR"), chkNB(frNB.container()),
      sldNB(frNB.container()), dialNB(frNB.container()), lblNB(frNB.container(), kNBKnob, "0"),
      frNotch(h.form, "Notch"), chkNotchOn(frNotch.container()), chkNotchAuto(frNotch.container()),
      chkNotchType(frNotch.container()), chkNotchMirror(frNotch.container()), sldNotch(frNotch.container()),
      sldNotchWidth(frNotch.container()), lblNotch(frNotch.container()), lblNotchWidth(frNotch.container()),
      lblNotchCDesc(frNotch.container()), lblNotchWDesc(frNotch.container()),
      lblNotchC(frNotch.container(), kNotchCKnob, "0"), lblNotchW(frNotch.container(), kNotchWKnob, "0"),
      frAFOut(h.form, "AF"), chkMute(frAFOut.container()), sldOutVolume(frAFOut.container()),
      dialOutVol(frAFOut.container()), lblOutVol(frAFOut.container(), kOutVolKnob, "0"), chkTuneLo(h.form),
      chkIQSelectUpper(h.form), frRFInSel(h.elektorPanel, "RF Input"),
      frIFAttenuation(h.elektorPanel, "IF Attenuation"), frRecordSampling(h.recorderPanel, "Sample Rate"),
      frRecordBitsPerSample(h.recorderPanel, "Bits/Sample"), lblRecordMBytesPerHr(h.recorderPanel),
      lblRecordMBytesPerHrDesc(h.recorderPanel, "MB/h"), chkFlipIQ(h.calibPanel), sldBalance(h.calibPanel) {
    using design::RowFrame;
    const auto place = [&](ui::Frame& f, RowFrame which) {
        const ui::DesignRect r = design::rowFrame(which, h.left, h.top);
        f.Move(r.Left, r.Top, r.Width, r.Height);
        small(f);
    };

    // Mode: two columns of four.
    place(frDemod, RowFrame::frDemod);
    loadButtons(optMode, frDemod.container(), 8);
    for (int16_t i = 0; i < 8; ++i) {
        const ui::DesignRect r = design::optMode(i);
        optMode[i].Move(r.Left, r.Top, r.Width, r.Height);
        optMode[i].setFontSize(6.75);
    }

    // Audio filter: the presets, the two edge sliders with their labels, Music, Dyn and the edge knobs.
    place(frFilter, RowFrame::frFilter);
    loadButtons(optFilter, frFilter.container(), 5);
    for (int16_t i = 0; i < 5; ++i)
        optFilter[i].Move(75, kFirstRow + i * 255, 1005, kRow);
    for (int16_t i = 0; i < 2; ++i) {
        ui::Slider& s = sldBW.Load(i, frFilter.container());
        s.setOrientation(1);
        s.Move(1125 + (1 - i) * 450, 435, 300, 855);
    }
    lblFHiDesc.Move(1065, kFirstRow, 420, 195);
    lblFloDesc.Move(1515, kFirstRow, 420, 195);
    lblFHi.Move(1065, 1305, 420, 195);
    lblFLo.Move(1515, 1305, 420, 195);
    for (ui::Label* l : {&lblFHiDesc, &lblFloDesc, &lblFHi, &lblFLo}) {
        l->setAlignment(2);
        small(*l);
    }
    chkMusic.Move(1935, kFirstRow, 795, kRow);
    chkDynFilter.Move(1935, kFirstRow + 270, 795, kRow);
    lblFilterHi.label.Move(1935, 825, 570, 240);
    lblFilterLo.label.Move(1935, 1140, 570, 240);

    // IF filter: the switch, the three modes and the manual edges.
    place(frIFFilter, RowFrame::frIFFilter);
    chkIFFilter.Move(75, kFirstRow, 540, kRow);
    loadButtons(optIFFilter, frIFFilter.container(), 3);
    for (int16_t i = 0; i < 3; ++i)
        optIFFilter[i].Move(75, kFirstRow + 315 + i * 270, 780, kRow);
    lblIFHiDesc.Move(885, 540, 420, 195);
    lblIFHi.label.Move(885, 735, 420, 240);
    lblIFLoDesc.Move(885, 1035, 420, 195);
    lblIFLo.label.Move(885, 1230, 420, 240);

    // AGC: the switch and the rows, then the attack and decay sliders with their knobs.
    place(frAGC, RowFrame::frAGC);
    chkAGC.Move(75, kFirstRow, 600, kRow);
    loadButtons(optAGC, frAGC.container(), 5);
    for (int16_t i = 0; i < 5; ++i)
        optAGC[i].Move(75, kFirstRow + 240 + i * 225, 915, 210);
    sldAGCAttack.setOrientation(1);
    sldAGCDecay.setOrientation(1);
    sldAGCAttack.Move(1035, kFirstRow, 315, 1005);
    sldAGCDecay.Move(1455, kFirstRow, 315, 1005);
    lblAGCAttack.label.Move(990, 1260, 420, 240);
    lblAGCDecay.label.Move(1410, 1260, 420, 240);

    // Noise reduction: the switch, the dial with its knob, and the slider.
    place(frNB, RowFrame::frNB);
    chkNB.Move(75, kFirstRow, 540, kRow);
    dialNB.Move(60, 480, 690, 690);
    lblNB.label.Move(765, 720, 405, 240);
    sldNB.Move(60, 1260, 1080, 255);

    // Notch: on, type, mirror, the two modes, the centre and width sliders with their labels and knobs.
    place(frNotch, RowFrame::frNotch);
    chkNotchOn.Move(75, kFirstRow, 540, 210);
    chkNotchType.Move(75, kFirstRow + 225, 540, 210);
    chkNotchMirror.Move(75, kFirstRow + 450, 870, 210);
    chkNotchAuto.Move(75, kFirstRow + 675, 690, 210);
    loadButtons(optNotch, frNotch.container(), 2);
    optNotch[0].Move(75, kFirstRow + 930, 690, 210);
    optNotch[1].Move(75, kFirstRow + 1155, 690, 210);
    sldNotch.setOrientation(1);
    sldNotchWidth.setOrientation(1);
    sldNotch.Move(990, 435, 315, 855);
    sldNotchWidth.Move(1380, 435, 315, 855);
    lblNotch.Move(945, kFirstRow, 405, 195);
    lblNotchWidth.Move(1335, kFirstRow, 405, 195);
    for (ui::Label* l : {&lblNotch, &lblNotchWidth}) {
        l->setAlignment(2);
        small(*l);
    }
    lblNotchCDesc.Move(1755, 435, 465, 195);
    lblNotchC.label.Move(1755, 630, 465, 240);
    lblNotchWDesc.Move(1755, 945, 465, 195);
    lblNotchW.label.Move(1755, 1140, 465, 240);

    // Output: mute, the volume dial with its knob, and the slider.
    place(frAFOut, RowFrame::frAFOut);
    chkMute.Move(design::chkMute.Left, design::chkMute.Top, design::chkMute.Width, design::chkMute.Height);
    dialOutVol.Move(60, 480, 690, 690);
    lblOutVol.label.Move(735, 720, 435, 240);
    sldOutVolume.Move(60, 1260, 1080, 255);

    // The LO side and the upper side share one place; the housekeeping shows one of them.
    chkTuneLo.Move(h.sideSwitchesLeft, h.sideSwitchesTop, 1200, kRow);
    chkIQSelectUpper.Move(h.sideSwitchesLeft, h.sideSwitchesTop, 1200, kRow);

    // The Elektor model's panel: eight inputs and three attenuations in a row.
    frRFInSel.Move(60, 0, 7860, 480);
    loadButtons(optRFInSel, frRFInSel.container(), 8);
    for (int16_t i = 0; i < 8; ++i)
        optRFInSel[i].Move(90 + i * 960, 210, 930, 240);
    frIFAttenuation.Move(8040, 0, 3420, 480);
    loadButtons(optIFAttenuation, frIFAttenuation.container(), 3);
    for (int16_t i = 0; i < 3; ++i)
        optIFAttenuation[i].Move(90 + i * 1080, 210, 1050, 240);

    // The recording format at the right end of the recorder panel.
    frRecordSampling.Move(7500, 0, 3210, 615);
    loadButtons(optRecordSampleRate, frRecordSampling.container(), 5);
    for (int16_t i = 0; i < 5; ++i)
        optRecordSampleRate[i].Move(75 + i * 615, 285, 615, kRow);
    frRecordBitsPerSample.Move(10710, 0, 1110, 615);
    loadButtons(optRecordSamplePerBit, frRecordBitsPerSample.container(), 2);
    for (int16_t i = 0; i < 2; ++i)
        optRecordSamplePerBit[i].Move(75 + i * 510, 285, 510, kRow);
    lblRecordMBytesPerHr.Move(11850, 120, 480, 240);
    lblRecordMBytesPerHrDesc.Move(11850, 345, 480, 240);
    for (ui::Control* c :
         {static_cast<ui::Control*>(&frRecordSampling), static_cast<ui::Control*>(&frRecordBitsPerSample),
          static_cast<ui::Control*>(&lblRecordMBytesPerHr),
          static_cast<ui::Control*>(&lblRecordMBytesPerHrDesc)})
        small(*c);

    // The calibration panel: the channel swap and the I/Q balance.
    chkFlipIQ.Move(60, 90, 900, kRow);
    sldBalance.Move(1020, 60, 2400, 330);

    for (ui::Control* c :
         {static_cast<ui::Control*>(&chkMusic), static_cast<ui::Control*>(&chkDynFilter),
          static_cast<ui::Control*>(&chkIFFilter), static_cast<ui::Control*>(&chkAGC),
          static_cast<ui::Control*>(&chkNB), static_cast<ui::Control*>(&chkNotchOn),
          static_cast<ui::Control*>(&chkNotchAuto), static_cast<ui::Control*>(&chkNotchType),
          static_cast<ui::Control*>(&chkNotchMirror), static_cast<ui::Control*>(&chkMute),
          static_cast<ui::Control*>(&chkTuneLo), static_cast<ui::Control*>(&chkIQSelectUpper),
          static_cast<ui::Control*>(&chkFlipIQ), static_cast<ui::Control*>(&lblIFHiDesc),
          static_cast<ui::Control*>(&lblIFLoDesc), static_cast<ui::Control*>(&lblNotchCDesc),
          static_cast<ui::Control*>(&lblNotchWDesc), static_cast<ui::Control*>(&frRFInSel),
          static_cast<ui::Control*>(&frIFAttenuation)})
        small(*c);
    for (KnobLabelControl* k : {&lblFilterHi, &lblFilterLo, &lblIFHi, &lblIFLo, &lblAGCAttack, &lblAGCDecay,
                                &lblNB, &lblNotchC, &lblNotchW, &lblOutVol})
        k->label.setAlignment(1);
}

void ReceiverControls::connect(FrontPanelCore& core) {
    FilterControls& f = core.filterControls;
    LevelControls& l = core.levels;
    ReceiverSwitches& s = core.switches;
    KnobPanel& knobs = core.knobs;
    core_ = &core;

    unbind_.push_back(mirror(core.modes.optMode, optMode));

    unbind_.push_back(mirror(f.optFilter, optFilter));
    unbind_.push_back(mirror(f.chkMusic, chkMusic));
    unbind_.push_back(mirror(f.chkDynFilter, chkDynFilter));
    unbind_.push_back(mirror(f.chkIFFilter, chkIFFilter));
    unbind_.push_back(mirror(f.optIFFilter, optIFFilter));
    for (int16_t i = 0; i < 2; ++i) {
        ui::Slider& widget = sldBW[i];
        unbind_.push_back(mirror(f.sldBW(i), widget));
        widget.MouseDown = [&f, i](int16_t button, int16_t, float, float) { f.sldBW_MouseDown(i, button); };
        widget.MouseMove = [&f, &widget, i](int16_t, int16_t, float x, float y) {
            f.sldBW_MouseMove(i, x, y, static_cast<float>(widget.Width()),
                              static_cast<float>(widget.Height()));
        };
        widget.LostFocus = [&f, i] { f.sldBW_LostFocus(i); };
    }
    unbind_.push_back(mirror(f.lblFloDesc, lblFloDesc));
    unbind_.push_back(mirror(f.lblFHiDesc, lblFHiDesc));
    unbind_.push_back(mirror(f.lblFLo, lblFLo));
    unbind_.push_back(mirror(f.lblFHi, lblFHi));
    unbind_.push_back(mirror(f.lblIFHiDesc, lblIFHiDesc));
    unbind_.push_back(mirror(f.lblIFLoDesc, lblIFLoDesc));
    unbind_.push_back(mirrorShown(f.lblIFHi, lblIFHi.label));
    unbind_.push_back(mirrorShown(f.lblIFLo, lblIFLo.label));

    unbind_.push_back(mirror(l.chkAGC, chkAGC));
    unbind_.push_back(mirror(l.optAGC, optAGC));
    unbind_.push_back(mirror(l.sldAGCAttack, sldAGCAttack));
    unbind_.push_back(mirror(l.sldAGCDecay, sldAGCDecay));
    unbind_.push_back(mirror(l.chkNB, chkNB));
    unbind_.push_back(mirror(l.sldNB, sldNB));
    unbind_.push_back(mirror(l.dialNB, dialNB));
    sldNB.MouseDown = [&l](int16_t button, int16_t, float, float) { l.sldNB_MouseDown(button); };
    unbind_.push_back(mirror(l.chkNotchOn, chkNotchOn));
    unbind_.push_back(mirror(l.chkNotchAuto, chkNotchAuto));
    unbind_.push_back(mirror(l.optNotch, optNotch));
    unbind_.push_back(mirror(l.chkNotchType, chkNotchType));
    unbind_.push_back(mirror(l.chkNotchMirror, chkNotchMirror));
    unbind_.push_back(mirror(l.sldNotch, sldNotch));
    unbind_.push_back(mirror(l.sldNotchWidth, sldNotchWidth));
    sldNotchWidth.MouseDown = [&l](int16_t button, int16_t, float, float) {
        l.sldNotchWidth_MouseDown(button);
    };
    unbind_.push_back(mirror(l.lblNotch, lblNotch));
    unbind_.push_back(mirror(l.lblNotchWidth, lblNotchWidth));
    unbind_.push_back(mirror(l.lblNotchCDesc, lblNotchCDesc));
    unbind_.push_back(mirror(l.lblNotchWDesc, lblNotchWDesc));
    unbind_.push_back(mirrorShown(l.lblNotchC, lblNotchC.label));
    unbind_.push_back(mirrorShown(l.lblNotchW, lblNotchW.label));
    unbind_.push_back(mirror(l.chkMute, chkMute));
    unbind_.push_back(mirror(l.sldOutVolume, sldOutVolume));
    unbind_.push_back(mirror(l.dialOutVol, dialOutVol));
    sldOutVolume.MouseDown = [&l](int16_t button, int16_t, float, float) {
        l.sldOutVolume_MouseDown(button);
    };
    sldOutVolume.MouseMove = [&l](int16_t, int16_t, float, float) { l.sldOutVolume_MouseMove(); };

    unbind_.push_back(mirror(s.chkTuneLo, chkTuneLo));
    unbind_.push_back(mirror(s.chkIQSelectUpper, chkIQSelectUpper));
    unbind_.push_back(mirror(s.chkFlipIQ, chkFlipIQ));
    unbind_.push_back(mirror(s.optRFInSel, optRFInSel));
    unbind_.push_back(mirror(s.optIFAttenuation, optIFAttenuation));
    unbind_.push_back(mirror(s.optRecordSampleRate, optRecordSampleRate));
    unbind_.push_back(mirror(s.optRecordSamplePerBit, optRecordSamplePerBit));
    unbind_.push_back(mirror(s.lblRecordMBytesPerHr, lblRecordMBytesPerHr));
    unbind_.push_back(mirror(l.sldBalance, sldBalance));

    for (KnobLabelControl* k : {&lblFilterHi, &lblFilterLo, &lblIFHi, &lblIFLo, &lblAGCAttack, &lblAGCDecay,
                                &lblNB, &lblNotchC, &lblNotchW, &lblOutVol})
        k->connect(core);
    const struct {
        ui::Frame* frame;
        KnobFrame name;
    } frames[] = {{&frAFOut, KnobFrame::frAFOut},
                  {&frAGC, KnobFrame::frAGC},
                  {&frIFFilter, KnobFrame::frIFFilter},
                  {&frNB, KnobFrame::frNB},
                  {&frNotch, KnobFrame::frNotch}};
    for (const auto& fr : frames) {
        const KnobFrame name = fr.name;
        fr.frame->MouseMove = [&knobs, name](int16_t, int16_t, float, float) { knobs.frame_MouseMove(name); };
    }
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
    for (const int16_t k : {kFilterHiKnob, kFilterLoKnob, kIFHiKnob, kIFLoKnob, kAGCAttackKnob, kAGCDecayKnob,
                            kNBKnob, kNotchCKnob, kNotchWKnob, kOutVolKnob}) {
        core_->knobs.setKnobLabel(k, nullptr);
        core_->ctlArray[static_cast<size_t>(k)].Label = nullptr;
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
