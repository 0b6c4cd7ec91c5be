// The clock calibration dialog.
#include "radio/frmCalibrate.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/ui/DesignRect.h"
#include "radio/CalibrateDesign.h"
#include "radio/ClockCalibration.h"

namespace {

// The number at the start of the text, blanks anywhere skipped, up to the first character that cannot
// continue it; 0 when the text starts with none.
double leadingNumber(std::string_view text) {
    std::string compact;
    for (const char c : text)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') compact.push_back(c);
    std::string_view rest = compact;
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    double value = 0;
    const auto res =
        std::from_chars(rest.data(), rest.data() + rest.size(), value, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) return HUGE_VAL; // refused below as not fitting
    if (res.ec != std::errc()) return 0;
    return negative ? -value : value;
}

} // namespace

frmCalibrate::frmCalibrate(clsVFO& vfo, ui::DialogService& dialogs)
    : lblCurrentTunedFreqCaption(this, "Current Tuned Freq"), lblCurrentTunedFreq(this),
      lblDDSClkInCurrentCaption(this, "DDS CLKIN (Current)"), lblDDSClkInCurrent(this),
      lblOfficialFreq(this, "Official Freq"), txtOfficialFreq(this),
      lblDDSClkinNewCaption(this, "DDS CLKIN (New)"), lblDDSClkinNew(this), lblMHz(this, "MHz"),
      cmdTry(this, "&Try It"), cmdApply(this, "&Apply"), cmdCancel(this, "&Cancel"), vfo_(vfo),
      dialogs_(dialogs) {
    setCaption("DDS Calibration");
    setClientSize(5040, 2700);
    lblCurrentTunedFreqCaption.Move(120, 120, 2100, 300);
    lblCurrentTunedFreq.Move(2280, 120, 1500, 300);
    lblCurrentTunedFreq.setToolTipText("Currently Tuned Frequency");
    lblMHz.Move(3840, 120, 600, 300);
    lblDDSClkInCurrentCaption.Move(120, 540, 2100, 300);
    lblDDSClkInCurrent.Move(2280, 540, 1500, 300);
    lblOfficialFreq.Move(120, 960, 2100, 300);
    txtOfficialFreq.Move(2280, 930, 1500, 330);
    txtOfficialFreq.setToolTipText("Published Frequency in Hz");
    lblDDSClkinNewCaption.Move(120, 1380, 2100, 300);
    // Wide enough for the words shown when there is no clock to calibrate.
    lblDDSClkinNew.Move(2280, 1380, 2640, 300);
    ui::place(cmdTry, radio::design::cmdTry);
    ui::place(cmdApply, radio::design::cmdApply);
    ui::place(cmdCancel, radio::design::cmdCancel);
    // Nothing can be tried or applied before a clock has been computed.
    cmdTry.setEnabled(false);
    cmdApply.setEnabled(false);

    txtOfficialFreq.Change = [this] { txtOfficialFreq_Change(); };
    cmdTry.Click = [this] { cmdTry_Click(); };
    cmdApply.Click = [this] { cmdApply_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
}

std::string frmCalibrate::formatClock(double hertz) {
    // Whole numbers as the mask shows them: halves away from zero.
    const double rounded = std::round(hertz);
    if (!std::isfinite(rounded) || std::fabs(rounded) >= 1e18) return runtime::CStr(hertz);
    const auto value = static_cast<int64_t>(rounded);
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (digits.size() < 7) digits.insert(0, 7 - digits.size(), '0');
    const std::size_t n = digits.size();
    std::string text = digits.substr(0, n - 6) + " " + digits.substr(n - 6, 3) + " " + digits.substr(n - 3);
    return value < 0 ? "-" + text : text;
}

void frmCalibrate::Form_Load() {
    setCaption(std::string(runtime::kProductName) + " - Calibrate DDS CLKIN");
    Oscillator* osc = vfo_.OscType();
    if (!osc) runtime::raise(runtime::err::kObjectNotSet, "frmCalibrate.Form_Load");
    oldClock_ = osc->ClkIn();
    tunedFrequency_ = runtime::CLng(vfo_.TunedFrequency() / 10.0);
    if_ = vfo_.IFFrequency();
    tuningWord_ = osc->CurrentTuningWord();
    lblCurrentTunedFreq.setCaption(formatClock(tunedFrequency_));
    lblDDSClkInCurrent.setCaption(formatClock(oldClock_));
    clockToCalibrate_ = osc->hasCalibratableClock();
    if (!clockToCalibrate_) lblDDSClkinNew.setCaption(kNoClockText);
    txtOfficialFreq.setText(std::to_string(tunedFrequency_));
}

void frmCalibrate::txtOfficialFreq_Change() {
    // Whatever is typed, "&Try It" and "&Apply" stay disabled: Apply would write a meaningless ClkIn, which
    // also moves the oscillator's tuning range.
    if (!clockToCalibrate_) return;
    const double typed = runtime::roundHalfEven(leadingNumber(txtOfficialFreq.Text()));
    // A number beyond 32 bits is no frequency either.
    if (typed == 0 || !std::isfinite(typed) || typed > INT32_MAX || typed < INT32_MIN) {
        dialogs_.MsgBox(kZeroMessage, runtime::mb::kOkOnly, runtime::kProductName);
        return;
    }
    const std::optional<double> clock = radio::calibratedClock({.officialHertz = static_cast<int32_t>(typed),
                                                                .ifHertz = if_,
                                                                .hiSideLo = vfo_.HiSideLo(),
                                                                .oscMultiplier = vfo_.OscMultiplier(),
                                                                .pllMultiplier = vfo_.PLLMultiplier(),
                                                                .tuningWord = tuningWord_});
    if (!clock) return;
    newClock_ = *clock;
    lblDDSClkinNew.setCaption(formatClock(*clock));
    cmdTry.setEnabled(true);
    cmdApply.setEnabled(true);
}

void frmCalibrate::setClock(double hertz) {
    Oscillator* osc = vfo_.OscType();
    if (!osc) runtime::raise(runtime::err::kObjectNotSet, "frmCalibrate.ClkIn");
    osc->setClkIn(hertz);
}

void frmCalibrate::cmdTry_Click() {
    if (!newClock_) return;
    setClock(*newClock_);
}

void frmCalibrate::cmdApply_Click() {
    if (!newClock_) return;
    setClock(*newClock_);
    ApplyChanges = true;
    Unload();
}

void frmCalibrate::cmdCancel_Click() {
    setClock(oldClock_);
    ApplyChanges = false;
    Unload();
}
