// The main window as the receiver's view: labels, timers, the panels' widget steps, the colours, the frames'
// highlight and the layouts.
#include <QPoint>

#include "frontpanel/TuningSteps.h"
#include "mainwindow/MainWindowDesign.h"
#include "mainwindow/frmMain.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/ui/Twips.h"
#include "platform/ui/modMemTricks.h"

namespace {

using mainwindow::ControlKind;
using runtime::resumeNext;
using ui::place;

constexpr int32_t kChosenColour = 0xFFFF00, kOtherColour = 0xC0C000;

ControlKind kindOf(ui::Control& c) {
    if (dynamic_cast<ui::Frame*>(&c)) return ControlKind::Frame;
    if (dynamic_cast<ui::Label*>(&c)) return ControlKind::Label;
    if (dynamic_cast<ui::OptionButton*>(&c)) return ControlKind::OptionButton;
    if (dynamic_cast<ui::CheckBox*>(&c)) return ControlKind::CheckBox;
    if (dynamic_cast<ui::TextBox*>(&c)) return ControlKind::TextBox;
    if (dynamic_cast<ui::PictureBox*>(&c)) return ControlKind::PictureBox;
    if (dynamic_cast<ui::ComboBox*>(&c)) return ControlKind::ComboBox;
    if (dynamic_cast<ui::Shape*>(&c)) return ControlKind::Shape;
    return ControlKind::Other;
}

// Where the popups' places are reckoned from: the corner of what holds the preset frame, as the layout
// at the load placed it.
QPoint presetsOrigin(const ui::PictureBox& holder, const QWidget* form) {
    return holder.widget() && form ? holder.widget()->mapTo(form, QPoint(0, 0)) : QPoint(0, 0);
}

} // namespace

void frmMain::resizeToDesignHeight() {
    setClientSize(ScaleWidth(), static_cast<int32_t>(mainwindow::design::kClientHeight));
}

void frmMain::measureChrome() {
    Layout.Chrome = Context.Chrome
                        ? *Context.Chrome
                        : mainwindow::measureChrome(Width(), Height(), ScaleWidth(), ScaleHeight());
}

void frmMain::focusSink() {
    resumeNext([this] { Picture1.SetFocus(); });
}

bool frmMain::PowerOn() const {
    return optPwr.contains(0) && optPwr[0].Value();
}

void frmMain::enablePowerButtons() {
    for (int16_t i = optPwr.LBound(); i <= optPwr.UBound(); ++i)
        resumeNext([&] { optPwr[i].setEnabled(true); });
}

void frmMain::setPowerColours(int32_t onColour, int32_t offColour) {
    optPwr[0].setForeColor(onColour);
    optPwr[1].setForeColor(offColour);
}

void frmMain::setLabel(mainwindow::WindowLabel label, const std::string& caption) {
    using mainwindow::WindowLabel;
    ui::Label* const labels[] = {&lblClock, &lblCLKINFreq, &lblIFFreq, &lblVer, &Label15};
    labels[static_cast<size_t>(label)]->setCaption(caption);
}

ui::Timer& frmMain::timerOf(mainwindow::WindowTimer timer) {
    ui::Timer* const timers[] = {&tmrTune, &tmrVFOUpdate, &tmrClock, &tmrPerfStats};
    return *timers[static_cast<size_t>(timer)];
}

void frmMain::startTimer(mainwindow::WindowTimer timer, int32_t ms) {
    ui::Timer& t = timerOf(timer);
    resumeNext([&] { t.setInterval(ms); });
    resumeNext([&] { t.setEnabled(true); });
}

void frmMain::layOutSubBandButtons() {
    const QPoint o = presetsOrigin(picScopeContainer, this);
    BandControls.LayOutSubBandButtons(receiver_->Bands, ui::twips(o.x()), ui::twips(o.y()));
}

void frmMain::layOutPresetButtons() {
    const QPoint o = presetsOrigin(picScopeContainer, this);
    BandControls.LayOutPresetButtons(receiver_->Bands, ui::twips(o.x()), ui::twips(o.y()));
}

void frmMain::fillStepSelector(int32_t backColour, int32_t foreColour, double tuneStep) {
    ui::ComboBox& list = Tuning.cboTuningSteps;
    resumeNext([&] { list.Clear(); });
    resumeNext([&] { list.setVisible(false); });
    resumeNext([&] { list.setBackColor(backColour); });
    resumeNext([&] { list.setForeColor(foreColour); });
    const auto& steps = Context.TuningSteps;
    for (const int32_t step : steps)
        resumeNext([&] { list.AddItem(frontpanel::TuningStepListText(step)); });
    resumeNext([&] {
        for (size_t i = 0; i < steps.size(); ++i)
            if (static_cast<double>(steps[i]) == tuneStep) {
                list.setListIndex(static_cast<int32_t>(i));
                return;
            }
    });
}

void frmMain::unhookWheel() {
    if (wheelFilter_.hooked()) wheelFilter_.Unhook();
}

void frmMain::blackenDisplayPictures() {
    for (int16_t i = 0; i <= 1; ++i)
        resumeNext([&] { ScopePanel.picScope[i].setBackColor(0); });
}

void frmMain::overlayFrequencyLabels() {
    ui::Label& under = ScopePanel.lblSpectrumFreq[0];
    const ui::Label& over = ScopePanel.lblSpectrumFreq[1];
    resumeNext([&] { under.setFontName(over.FontName()); });
    resumeNext([&] { under.Move(over.Left(), over.Top(), over.Width(), over.Height()); });
}

void frmMain::layOutRecorderPanel() {
    if (!RecorderControls) return;
    const double height = picRecorder.surface().ScaleHeight();
    ui::TextBox& name = RecorderControls->txtRecordFileName;
    resumeNext([&] { RecorderControls->centreButtons(height); });
    resumeNext([&] { name.setTop((height - name.Height()) / 2); });
    resumeNext([&] { name.setLocked(true); });
}

void frmMain::setRecordingFramesColour(int32_t colour) {
    Controls.frRecordSampling.setForeColor(colour);
    Controls.frRecordBitsPerSample.setForeColor(colour);
}

// ---- Colours and frames ----

// The pass by kind over every control, then each panel's own steps.
void frmMain::recolourWidgets(const mainwindow::RecolourPass& pass) {
    forEachControl([&](ui::Control& c) {
        const mainwindow::ControlColours colours =
            mainwindow::recolour(kindOf(c), pass.WindowBack, pass.Scheme);
        if (colours.BackColor)
            resumeNext([&] {
                // A picture's own surface takes the colour and is cleared to it, as a new back colour clears
                // a picture.
                if (auto* picture = dynamic_cast<ui::PictureBox*>(&c)) {
                    picture->setBackColor(*colours.BackColor);
                    picture->surface().Cls();
                } else {
                    c.setBackColor(*colours.BackColor);
                }
            });
        if (colours.ForeColor) resumeNext([&] { c.setForeColor(*colours.ForeColor); });
    });
    const mainwindow::DerivedColours& d = pass.Derived;
    // The readout: the dial's picture shows its drawing, not its back colour, until it is cleared.
    resumeNext([&] { Tuning.picTuneDial.setBackColor(Tuning.dialtuner.ColorDial()); });
    resumeNext([&] { Tuning.picTuneDial.Cls(); });
    for (auto& digit : Tuning.lbl7Seg)
        resumeNext([&] { digit->setForeColor(d.TuningDigits); });
    for (auto& point : Tuning.shpDP) {
        resumeNext([&] { point->setFillColor(d.DecimalPoints); });
        resumeNext([&] { point->setBorderColor(d.DecimalPoints); });
        resumeNext([&] { point->setBackColor(d.DecimalPoints); });
    }
    for (auto& scale : Tuning.lblScale)
        resumeNext([&] { scale->setForeColor(d.ScaleLabels); });
    resumeNext([&] { Tuning.lblTuningRate.setForeColor(d.TuningText); });
    resumeNext([&] { Tuning.lblTuneDialRate.setForeColor(d.TuneDialRate); });
    resumeNext([&] { Controls.chkTuneLo.setForeColor(d.TuningText); });
    resumeNext([&] { lblClock.setForeColor(d.Clock); });
    resumeNext([&] { optPwr[0].setForeColor(d.PowerOn); });
    resumeNext([&] { optPwr[1].setForeColor(d.PowerOff); });
    resumeNext([&] { optPwr[2].setForeColor(d.PowerClose); });
    if (pass.ScopeBack) {
        resumeNext([&] { ScopePanel.picScope[0].setBackColor(*pass.ScopeBack); });
        resumeNext([&] { ScopePanel.picScope[1].setBackColor(ScopePanel.picScope[0].BackColor()); });
    }
    // The meter stays black on any scheme; its scale is drawn again next.
    Meter.picSmeter.forEach([](ui::PictureBox& p) {
        resumeNext([&] { p.setBackColor(0); });
        resumeNext([&] { p.Cls(); });
    });
    // The recorder's time and size in the knobs' focus colour; the file name box with them, as a text box
    // keeps the window's background and its own dark text would not read on a dark scheme.
    if (RecorderControls)
        for (ui::Control* c : std::initializer_list<ui::Control*>{&RecorderControls->lblRecordTime,
                                                                  &RecorderControls->lblRecordSize,
                                                                  &RecorderControls->txtRecordFileName})
            resumeNext([&] { c->setForeColor(d.RecorderLabels); });
}

void frmMain::unfocusFrames(int32_t frameNormal) {
    forEachControl([&](ui::Control& c) {
        if (kindOf(c) == ControlKind::Frame) c.setForeColor(frameNormal);
    });
}

void frmMain::focusFrame(ui::Frame& frame) {
    if (focusFrameBusy_) return;
    focusFrameBusy_ = true;
    struct Clear {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{focusFrameBusy_};
    receiver_->UnFocusFrames();
    frame.setForeColor(Context.State.SDRColourSchemes.FrameFocus);
}

void frmMain::focusFrame(frontpanel::KnobFrame frame) {
    if (ui::Frame* f = frameOf(frame)) focusFrame(*f);
}

ui::Frame* frmMain::frameOf(frontpanel::KnobFrame frame) {
    using frontpanel::KnobFrame;
    switch (frame) {
    case KnobFrame::frAFOut:
        return &Controls.frAFOut;
    case KnobFrame::frAGC:
        return &Controls.frAGC;
    case KnobFrame::frIFFilter:
        return &Controls.frIFFilter;
    case KnobFrame::frNB:
        return &Controls.frNB;
    case KnobFrame::frNotch:
        return &Controls.frNotch;
    case KnobFrame::frDispMode:
        return &frDispMode;
    case KnobFrame::frScopeChn1Ctl:
        return &ScopePanel.frScopeChn1Ctl;
    case KnobFrame::frScopeChn2Ctl:
        return &ScopePanel.frScopeChn2Ctl;
    case KnobFrame::frScopeMode:
        return &ScopePanel.frScopeMode;
    case KnobFrame::frScopeSweep:
        return &ScopePanel.frScopeSweep;
    case KnobFrame::frScopeYMode:
        return &ScopePanel.frScopeYMode;
    }
    return nullptr;
}

// ---- Title bar and layouts ----

void frmMain::ShowTitleBar(bool on) {
    modMemTricks::ShowTitleBar(*this, on);
    // The start-up and the configuration's Apply remove the bar too, not the power button alone: the
    // layouts count the bar only while there is one.
    Layout.TitleBarHidden = !on;
}

int32_t frmMain::OuterHeight() const {
    const auto& c = Layout.Chrome;
    return ScaleHeight() + (Layout.TitleBarHidden ? 2 * c.FormBorderWidth : c.FormChromeHeight);
}

int32_t frmMain::OuterWidth() const {
    return ScaleWidth() + 2 * Layout.Chrome.FormBorderWidth;
}

void frmMain::optDisplaySize_Click(int16_t Index) {
    Layout.optDisplaySize_Click(Index, Context.SetupRX.ModelSection, *this);
}

void frmMain::Form_Resize() {
    Layout.Form_Resize(*this);
}

void frmMain::markLayoutButton(int16_t Index) {
    optDisplaySize.forEach([](ui::OptionButton& b) { b.setForeColor(kOtherColour); });
    optDisplaySize[Index].setForeColor(kChosenColour);
    optDisplaySize[Index].setValue(true);
}

int16_t frmMain::selectedLayoutButton() const {
    for (int16_t i = optDisplaySize.LBound(); i <= optDisplaySize.UBound(); ++i)
        if (optDisplaySize[i].Value()) return i;
    return -1;
}

void frmMain::placePanels(const mainwindow::LayoutPlan& p) {
    picElektor200705.setVisible(p.ElektorPanel);
    picElektor200705.setEnabled(p.ElektorPanel);
    place(picRecorder, p.picRecorder);
    place(picScopeContainer, p.picScopeContainer);
    place(picCalib, p.picCalib);
}

void frmMain::setWindowHeight(int32_t twips) {
    const auto& c = Layout.Chrome;
    setClientSize(ScaleWidth(), twips - (Layout.TitleBarHidden ? 2 * c.FormBorderWidth : c.FormChromeHeight));
}

void frmMain::setWindowWidth(int32_t twips) {
    setClientSize(twips - 2 * Layout.Chrome.FormBorderWidth, ScaleHeight());
}

bool frmMain::windowStateNormal() const {
    return !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}
