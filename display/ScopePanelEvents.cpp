// The display panel's wiring: its controls' events to the panel's core, its knob labels and knob frames to
// the front panel's knob table, and the window's hover handlers the core answers for.
#include <functional>

#include "display/ScopePanel.h"

namespace display {

namespace {

// Caption colours of a ticked or selected control and of the others.
constexpr int32_t kChosenColour = 0xFFFF00;
constexpr int32_t kOtherColour = 0xC0C000;

void markBox(ui::CheckBox& b) {
    b.setForeColor(b.Value() == 1 ? kChosenColour : kOtherColour);
}

} // namespace

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

} // namespace display
