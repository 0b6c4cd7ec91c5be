// The band plan's widgets.
#include "frontpanel/BandPlanControls.h"

#include <QApplication>

#include "frontpanel/FrontPanelDesign.h"
#include "frontpanel/PanelMirrors.h"
#include "platform/runtime/Hooks.h"

namespace frontpanel {

namespace {

// The frame's design: the selectors' row under the caption, two rows of sub-band buttons, the presets.
// The frame fits under the spectrum, beside the display's controls.
using design::kPresetWidth, design::kSubBandWidth, design::kSubBandsTop, design::kPresetsTop;
constexpr int32_t kFrameWidth = design::kPresetFrameWidth;
static_assert(design::kPresetButtonCount == kPresetButtons && design::kSubBandButtonCount == kSubBandButtons);

using ui::place;

// Buttons of one width in the panel's font, and the popup's place for each: a button's height below it,
// from the origin given.
template <size_t N>
void layOutButtons(ui::ControlArray<ui::OptionButton>& buttons, int32_t width, std::array<DescPos, N>& places,
                   double originLeft, double originTop) {
    for (int16_t i = 0; i < static_cast<int16_t>(N); ++i)
        runtime::resumeNext([&] {
            ui::OptionButton& b = buttons[i];
            b.setWidth(width);
            b.setFontSize(8);
            places[static_cast<size_t>(i)] = {static_cast<float>(b.Left() + originLeft),
                                              static_cast<float>(2 * b.Height() + b.Top() + originTop)};
        });
}

} // namespace

BandPlanControls::BandPlanControls(QWidget* parent, int32_t left, int32_t top)
    : frPresets(parent), imgBandSelect(frPresets.container()), cboBandSelect(frPresets.container()),
      lblSubBand(frPresets.container()), cboSubBandSelect(frPresets.container()),
      lstSubBandSelect(frPresets.container()), picSubBands(frPresets.container()),
      picPresets(frPresets.container()), parent_(parent) {
    place(frPresets, design::frPresets(left, top));
    cboBandSelect.Move(120, 0, 2600, 315);
    cboBandSelect.setVisible(false);
    imgBandSelect.Move(4500, 60, kFrameWidth - 4620, 255);
    cboSubBandSelect.Move(2900, 0, 1500, 315);
    cboSubBandSelect.setVisible(false);
    lstSubBandSelect.setVisible(false);
    picSubBands.setBorderStyle(0);
    place(picSubBands, design::picSubBands);
    for (int16_t i = 0; i < kSubBandButtons; ++i)
        place(optSubBand.Load(i, picSubBands.container(), "S" + std::to_string(i + 1)),
              design::optSubBand(i));
    picPresets.setBorderStyle(0);
    place(picPresets, design::picPresets);
    for (int16_t j = 0; j < kPresetButtons; ++j)
        place(optPreset.Load(j, picPresets.container(), "P" + std::to_string(j + 1)), design::optPreset(j));
    // A move over a button or selector is its own: a button ignores moves while not pressed, and the
    // frame's hover, which hides the popup, would hear them too. The wheel still passes, to the knobs'
    // filter, since it is taken at the application before any widget.
    forEachControl([this](ui::Control& c) {
        if (&c != &frPresets) c.widget()->setAttribute(Qt::WA_NoMousePropagation);
    });
}

BandPlanControls::~BandPlanControls() {
    for (auto& u : unbind_)
        u();
}

void BandPlanControls::forEachControl(const std::function<void(ui::Control&)>& f) {
    for (ui::Control* c :
         std::initializer_list<ui::Control*>{&frPresets, &imgBandSelect, &cboBandSelect, &lblSubBand,
                                             &cboSubBandSelect, &lstSubBandSelect, &picSubBands, &picPresets})
        f(*c);
    optSubBand.forEach([&](ui::OptionButton& b) { f(b); });
    optPreset.forEach([&](ui::OptionButton& b) { f(b); });
}

void BandPlanControls::connect(BandPlanPanel& panel) {
    panel_ = &panel;
    BandPlanPanel* p = &panel;
    unbind_.push_back(mirror(panel.cboBandSelect, cboBandSelect));
    unbind_.push_back(mirror(panel.cboSubBandSelect, cboSubBandSelect));
    unbind_.push_back(mirror(panel.lstSubBandSelect, lstSubBandSelect));
    unbind_.push_back(mirror(panel.lblSubBand, lblSubBand));
    unbind_.push_back(mirror(panel.optSubBand, optSubBand));
    unbind_.push_back(mirror(panel.optPreset, optPreset));
    panel.frPresets.Mirror = [this, p](Aspect a) {
        if (a == Aspect::Caption) frPresets.setCaption(p->frPresets.Caption());
        if (a == Aspect::ForeColor) frPresets.setForeColor(p->frPresets.ForeColor());
    };
    unbind_.push_back([p] { p->frPresets.Mirror = {}; });

    // These handlers report a run-time error at the Qt boundary (trace log and message box).
    const auto reported = [](const char* source, std::function<void()> f) { ui::runGuarded(f, source); };
    cboBandSelect.KeyDown = [p, reported](int16_t& KeyCode, int16_t Shift) {
        reported("cboBandSelect_KeyDown", [&] { p->cboBandSelect_KeyDown(KeyCode, Shift); });
    };
    cboBandSelect.LostFocus = [p] { p->cboBandSelect_LostFocus(); };
    cboSubBandSelect.LostFocus = [p] { p->cboSubBandSelect_LostFocus(); };
    lblSubBand.MouseMove = [p](int16_t, int16_t, float, float) { p->lblSubBand_MouseMove(); };
    lstSubBandSelect.MouseMove = [this, p](int16_t, int16_t, float X, float Y) {
        p->lstSubBandSelect_MouseMove(static_cast<float>(X + lstSubBandSelect.Left()),
                                      static_cast<float>(Y + lstSubBandSelect.Top()));
    };
    imgBandSelect.MouseMove = [p](int16_t, int16_t, float, float) { p->imgBandSelect_MouseMove(); };
    picSubBands.MouseMove = [p](int16_t, int16_t, float, float) { p->picSubBands_MouseMove(); };
    frPresets.MouseMove = [p](int16_t Button, int16_t Shift, float X, float Y) {
        p->frPresets_MouseMove(Button, Shift, X, Y);
    };
    for (int16_t i = 0; i < kSubBandButtons; ++i) {
        ui::OptionButton& b = optSubBand[i];
        b.MouseDown = [p, reported, i](int16_t Button, int16_t Shift, float X, float Y) {
            reported("optSubBand_MouseDown", [&] { p->optSubBand_MouseDown(i, Button, Shift, X, Y); });
        };
        b.MouseMove = [p, reported, i](int16_t Button, int16_t Shift, float X, float Y) {
            reported("optSubBand_MouseMove", [&] { p->optSubBand_MouseMove(i, Button, Shift, X, Y); });
        };
    }
    for (int16_t j = 0; j < kPresetButtons; ++j) {
        ui::OptionButton& b = optPreset[j];
        b.MouseDown = [p, reported, j](int16_t Button, int16_t Shift, float X, float Y) {
            reported("optPreset_MouseDown", [&] { p->optPreset_MouseDown(j, Button, Shift, X, Y); });
        };
        b.MouseUp = [p, reported, j](int16_t Button, int16_t Shift, float X, float Y) {
            reported("optPreset_MouseUp", [&] { p->optPreset_MouseUp(j, Button, Shift, X, Y); });
        };
        b.MouseMove = [p, reported, j](int16_t Button, int16_t Shift, float X, float Y) {
            reported("optPreset_MouseMove", [&] { p->optPreset_MouseMove(j, Button, Shift, X, Y); });
        };
        b.KeyDown = [p, j](int16_t& KeyCode, int16_t Shift) { p->optPreset_KeyDown(j, KeyCode, Shift); };
    }
    tmrSubBands.Timer_ = [p] { p->tmrSubBands_Timer(); };
    placeSelectors(panel);
}

void BandPlanControls::placeSelectors(BandPlanPanel& panel) {
    const auto place = [](const ui::Control& c) {
        return TwipsRect{static_cast<int32_t>(c.Left()), static_cast<int32_t>(c.Top()),
                         static_cast<int32_t>(c.Width()), static_cast<int32_t>(c.Height())};
    };
    panel.bandSelectPlace = place(cboBandSelect);
    panel.subBandSelectPlace = place(cboSubBandSelect);
    panel.subBandListPlace = place(lstSubBandSelect);
}

void BandPlanControls::LayOut(BandPlanPanel& panel, int32_t frFreqCtlLeft, int32_t frFreqCtlTop) {
    LayOutSelectors(panel);
    LayOutSubBandButtons(panel, frFreqCtlLeft, frFreqCtlTop);
    LayOutPresetButtons(panel, frFreqCtlLeft, frFreqCtlTop);
}

void BandPlanControls::LayOutSelectors(BandPlanPanel& panel) {
    using runtime::resumeNext;
    resumeNext([&] { cboSubBandSelect.setTop(cboBandSelect.Top()); });
    resumeNext([&] {
        lstSubBandSelect.Move(cboSubBandSelect.Left(), cboBandSelect.Top(), cboSubBandSelect.Width(),
                              cboSubBandSelect.Height());
        lstSubBandSelect.setForeColor(cboSubBandSelect.ForeColor());
        lstSubBandSelect.setBackColor(cboSubBandSelect.BackColor());
    });
    resumeNext([&] {
        lblSubBand.Move(cboSubBandSelect.Left(), cboSubBandSelect.Top(), cboSubBandSelect.Width(),
                        cboSubBandSelect.Height());
        lblSubBand.setForeColor(cboSubBandSelect.ForeColor());
        lblSubBand.setBackColor(cboSubBandSelect.BackColor());
        lblSubBand.setAutoSize(true);
    });
    placeSelectors(panel);
}

void BandPlanControls::LayOutSubBandButtons(BandPlanPanel& panel, int32_t frFreqCtlLeft,
                                            int32_t frFreqCtlTop) {
    runtime::resumeNext([&] { picSubBands.setTop(kSubBandsTop); });
    layOutButtons(optSubBand, kSubBandWidth, panel.SubBandDescPos, picSubBands.Left() + frFreqCtlLeft,
                  picSubBands.Top() + frFreqCtlTop + frPresets.Top());
}

void BandPlanControls::LayOutPresetButtons(BandPlanPanel& panel, int32_t frFreqCtlLeft,
                                           int32_t frFreqCtlTop) {
    runtime::resumeNext([&] { picPresets.setTop(kPresetsTop); });
    // The popups' left is measured from the frame's, not the buttons' container's.
    layOutButtons(optPreset, kPresetWidth, panel.PresetDescPos, frPresets.Left() + frFreqCtlLeft,
                  picPresets.Top() + frFreqCtlTop + frPresets.Top());
}

void BandPlanControls::StartTracking() {
    tmrSubBands.setInterval(300);
    tmrSubBands.setEnabled(true);
}

void BandSplash::ShowSplash(const std::string& bandName) {
    splash_.lblBandPlan.setCaption(bandName);
    splash_.Show();
    splash_.raise();
    runtime::DoEvents();
}

void BandSplash::HideSplash() {
    splash_.Hide();
}

} // namespace frontpanel
