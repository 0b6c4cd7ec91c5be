// The receiver's controls on the main window and their wiring to the front panel's core.
#include "frontpanel/ReceiverControls.h"

#include "frontpanel/PanelMirrors.h"

namespace frontpanel {

namespace {

// Twips. Rows of option buttons and check boxes, and the frames' common height.
constexpr int32_t kRow = 240;
constexpr int32_t kFrameHeight = 1575;
constexpr int32_t kFirstRow = 225;
constexpr int32_t kGap = 60;
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
      chkIQSelectUpper(h.form), lblRFInSel(h.elektorPanel, "RF In"),
      lblIFAttenuation(h.elektorPanel, "IF Att"), picRFInSel(h.elektorPanel),
      picIFAttenuation(h.elektorPanel), frRecordSampling(h.recorderPanel, "Sample Rate"),
      frRecordBitsPerSample(h.recorderPanel, "Bits/Sample"), lblRecordMBytesPerHr(h.recorderPanel),
      lblRecordMBytesPerHrDesc(h.recorderPanel, "MB/h"), chkFlipIQ(h.calibPanel), sldBalance(h.calibPanel) {
    int32_t x = h.left;
    const auto place = [&](ui::Frame& f, int32_t width) {
        f.Move(x, h.top, width, kFrameHeight);
        small(f);
        x += width + kGap;
    };

    // Mode: two columns of four.
    place(frDemod, 1230);
    loadButtons(optMode, frDemod.container(), 8);
    for (int16_t i = 0; i < 8; ++i)
        optMode[i].Move(75 + (i / 4) * 570, kFirstRow + 30 + (i % 4) * 315, 570, kRow);

    // Audio filter: the presets, the two edge sliders with their labels, Music, Dyn and the edge knobs.
    place(frFilter, 2580);
    loadButtons(optFilter, frFilter.container(), 5);
    for (int16_t i = 0; i < 5; ++i)
        optFilter[i].Move(75, kFirstRow + i * 255, 1035, kRow);
    for (int16_t i = 0; i < 2; ++i) {
        ui::Slider& s = sldBW.Load(i, frFilter.container());
        s.setOrientation(1);
        s.Move(1170 + (1 - i) * 375, 435, 330, 855);
    }
    lblFHiDesc.Move(1170, kFirstRow, 330, 195);
    lblFloDesc.Move(1545, kFirstRow, 330, 195);
    lblFHi.Move(1170, 1305, 330, 195);
    lblFLo.Move(1545, 1305, 330, 195);
    for (ui::Label* l : {&lblFHiDesc, &lblFloDesc, &lblFHi, &lblFLo}) {
        l->setAlignment(2);
        small(*l);
    }
    chkMusic.Move(1935, kFirstRow, 600, kRow);
    chkDynFilter.Move(1935, kFirstRow + 270, 600, kRow);
    lblFilterHi.label.Move(1935, 825, 570, 240);
    lblFilterLo.label.Move(1935, 1140, 570, 240);

    // IF filter: the switch, the three modes and the manual edges.
    place(frIFFilter, 1230);
    chkIFFilter.Move(75, kFirstRow, 540, kRow);
    loadButtons(optIFFilter, frIFFilter.container(), 3);
    for (int16_t i = 0; i < 3; ++i)
        optIFFilter[i].Move(75, kFirstRow + 315 + i * 270, 660, kRow);
    lblIFHiDesc.Move(750, 540, 420, 195);
    lblIFHi.label.Move(750, 735, 420, 240);
    lblIFLoDesc.Move(750, 1035, 420, 195);
    lblIFLo.label.Move(750, 1230, 420, 240);

    // AGC: the switch and the rows, then the attack and decay sliders with their knobs.
    place(frAGC, 1860);
    chkAGC.Move(75, kFirstRow, 600, kRow);
    loadButtons(optAGC, frAGC.container(), 5);
    for (int16_t i = 0; i < 5; ++i)
        optAGC[i].Move(75, kFirstRow + 255 + i * 240, 810, 225);
    sldAGCAttack.setOrientation(1);
    sldAGCDecay.setOrientation(1);
    sldAGCAttack.Move(945, kFirstRow, 330, 1005);
    sldAGCDecay.Move(1395, kFirstRow, 330, 1005);
    lblAGCAttack.label.Move(900, 1260, 420, 240);
    lblAGCDecay.label.Move(1350, 1260, 420, 240);

    // Noise reduction: the switch, the dial with its knob, and the slider.
    place(frNB, 1290);
    chkNB.Move(75, kFirstRow, 540, kRow);
    dialNB.Move(75, 510, 720, 720);
    lblNB.label.Move(810, 780, 420, 240);
    sldNB.Move(75, 1260, 1140, 255);

    // Notch: on, type, mirror, the two modes, the centre and width sliders with their labels and knobs.
    place(frNotch, 2400);
    chkNotchOn.Move(75, kFirstRow, 540, kRow);
    chkNotchType.Move(75, kFirstRow + 255, 540, kRow);
    chkNotchMirror.Move(75, kFirstRow + 510, 810, kRow);
    chkNotchAuto.Move(75, kFirstRow + 765, 690, kRow);
    loadButtons(optNotch, frNotch.container(), 2);
    optNotch[0].Move(75, kFirstRow + 1035, 690, kRow);
    optNotch[1].Move(75, kFirstRow + 1275, 690, kRow);
    sldNotch.setOrientation(1);
    sldNotchWidth.setOrientation(1);
    sldNotch.Move(945, 435, 330, 855);
    sldNotchWidth.Move(1395, 435, 330, 855);
    lblNotch.Move(900, kFirstRow, 420, 195);
    lblNotchWidth.Move(1350, kFirstRow, 420, 195);
    for (ui::Label* l : {&lblNotch, &lblNotchWidth}) {
        l->setAlignment(2);
        small(*l);
    }
    lblNotchCDesc.Move(1800, 435, 525, 195);
    lblNotchC.label.Move(1800, 630, 525, 240);
    lblNotchWDesc.Move(1800, 945, 525, 195);
    lblNotchW.label.Move(1800, 1140, 525, 240);

    // Output: mute, the volume dial with its knob, and the slider.
    place(frAFOut, 1290);
    chkMute.Move(75, kFirstRow, 690, kRow);
    dialOutVol.Move(75, 510, 720, 720);
    lblOutVol.label.Move(810, 780, 450, 240);
    sldOutVolume.Move(75, 1260, 1140, 255);

    // The LO side and the upper side share one place; the housekeeping shows one of them.
    chkTuneLo.Move(h.sideSwitchesLeft, h.sideSwitchesTop, 1200, kRow);
    chkIQSelectUpper.Move(h.sideSwitchesLeft, h.sideSwitchesTop, 1200, kRow);

    // The Elektor model's panel: eight inputs and three attenuations in a row.
    lblRFInSel.Move(60, 120, 450, 240);
    picRFInSel.Move(510, 60, 7680, 360);
    loadButtons(optRFInSel, picRFInSel.widget(), 8);
    for (int16_t i = 0; i < 8; ++i)
        optRFInSel[i].Move(i * 960, 60, 930, kRow);
    lblIFAttenuation.Move(8370, 120, 600, 240);
    picIFAttenuation.Move(8970, 60, 3300, 360);
    loadButtons(optIFAttenuation, picIFAttenuation.widget(), 3);
    for (int16_t i = 0; i < 3; ++i)
        optIFAttenuation[i].Move(i * 1080, 60, 1050, kRow);

    // The recording format at the right end of the recorder panel.
    frRecordSampling.Move(8280, 0, 2640, 615);
    loadButtons(optRecordSampleRate, frRecordSampling.container(), 5);
    for (int16_t i = 0; i < 5; ++i)
        optRecordSampleRate[i].Move(75 + i * 510, 285, 510, kRow);
    frRecordBitsPerSample.Move(10980, 0, 810, 615);
    loadButtons(optRecordSamplePerBit, frRecordBitsPerSample.container(), 2);
    for (int16_t i = 0; i < 2; ++i)
        optRecordSamplePerBit[i].Move(75 + i * 360, 285, 360, kRow);
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
          static_cast<ui::Control*>(&lblNotchWDesc), static_cast<ui::Control*>(&lblRFInSel),
          static_cast<ui::Control*>(&lblIFAttenuation)})
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

    mirror(core.modes.optMode, optMode);

    mirror(f.optFilter, optFilter);
    mirror(f.chkMusic, chkMusic);
    mirror(f.chkDynFilter, chkDynFilter);
    mirror(f.chkIFFilter, chkIFFilter);
    mirror(f.optIFFilter, optIFFilter);
    for (int16_t i = 0; i < 2; ++i) {
        ui::Slider& widget = sldBW[i];
        mirror(f.sldBW(i), widget);
        widget.MouseDown = [&f, i](int16_t button, int16_t, float, float) { f.sldBW_MouseDown(i, button); };
        widget.MouseMove = [&f, &widget, i](int16_t, int16_t, float x, float y) {
            f.sldBW_MouseMove(i, x, y, static_cast<float>(widget.Width()),
                              static_cast<float>(widget.Height()));
        };
        widget.LostFocus = [&f, i] { f.sldBW_LostFocus(i); };
    }
    mirror(f.lblFloDesc, lblFloDesc);
    mirror(f.lblFHiDesc, lblFHiDesc);
    mirror(f.lblFLo, lblFLo);
    mirror(f.lblFHi, lblFHi);
    mirror(f.lblIFHiDesc, lblIFHiDesc);
    mirror(f.lblIFLoDesc, lblIFLoDesc);
    mirrorShown(f.lblIFHi, lblIFHi.label);
    mirrorShown(f.lblIFLo, lblIFLo.label);

    mirror(l.chkAGC, chkAGC);
    mirror(l.optAGC, optAGC);
    mirror(l.sldAGCAttack, sldAGCAttack);
    mirror(l.sldAGCDecay, sldAGCDecay);
    mirror(l.chkNB, chkNB);
    mirror(l.sldNB, sldNB);
    mirror(l.dialNB, dialNB);
    sldNB.MouseDown = [&l](int16_t button, int16_t, float, float) { l.sldNB_MouseDown(button); };
    mirror(l.chkNotchOn, chkNotchOn);
    mirror(l.chkNotchAuto, chkNotchAuto);
    mirror(l.optNotch, optNotch);
    mirror(l.chkNotchType, chkNotchType);
    mirror(l.chkNotchMirror, chkNotchMirror);
    mirror(l.sldNotch, sldNotch);
    mirror(l.sldNotchWidth, sldNotchWidth);
    sldNotchWidth.MouseDown = [&l](int16_t button, int16_t, float, float) {
        l.sldNotchWidth_MouseDown(button);
    };
    mirror(l.lblNotch, lblNotch);
    mirror(l.lblNotchWidth, lblNotchWidth);
    mirror(l.lblNotchCDesc, lblNotchCDesc);
    mirror(l.lblNotchWDesc, lblNotchWDesc);
    mirrorShown(l.lblNotchC, lblNotchC.label);
    mirrorShown(l.lblNotchW, lblNotchW.label);
    mirror(l.chkMute, chkMute);
    mirror(l.sldOutVolume, sldOutVolume);
    mirror(l.dialOutVol, dialOutVol);
    sldOutVolume.MouseDown = [&l](int16_t button, int16_t, float, float) {
        l.sldOutVolume_MouseDown(button);
    };
    sldOutVolume.MouseMove = [&l](int16_t, int16_t, float, float) { l.sldOutVolume_MouseMove(); };

    mirror(s.chkTuneLo, chkTuneLo);
    mirror(s.chkIQSelectUpper, chkIQSelectUpper);
    mirror(s.chkFlipIQ, chkFlipIQ);
    mirror(s.optRFInSel, optRFInSel);
    mirror(s.optIFAttenuation, optIFAttenuation);
    mirror(s.optRecordSampleRate, optRecordSampleRate);
    mirror(s.optRecordSamplePerBit, optRecordSamplePerBit);
    mirror(s.lblRecordMBytesPerHr, lblRecordMBytesPerHr);
    mirror(l.sldBalance, sldBalance);

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
                                                              &lblRFInSel,
                                                              &lblIFAttenuation,
                                                              &picRFInSel,
                                                              &picIFAttenuation,
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
