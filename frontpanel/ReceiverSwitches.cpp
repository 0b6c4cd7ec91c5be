// The receiver switches' handlers.
#include "frontpanel/ReceiverSwitches.h"

#include <cmath>

#include "frame/ScopedFlag.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/LineInterface.h"
#include "recorder/clsWavFile.h"

namespace frontpanel {

namespace {

// The LO-side and upper-side boxes: ticked and not.
constexpr int32_t kTickedColour = 0x0000C0;
constexpr int32_t kUntickedColour = 0x0000FF;
constexpr int16_t kCalibrationInput = 7;
// The calibration signal, 5 MHz in tenths of a hertz.
constexpr int32_t kCalibrationFrequency = 50'000'000;
// The pin byte: bits 0 and 1 carry the clock generator's bus, 2 to 4 the RF input, 5 to 7 the IF
// attenuation.
constexpr uint8_t kKeepBesideRFInput = 0x63;
constexpr uint8_t kKeepBesideAttenuation = 0x1F;
constexpr int16_t kDataReceived = 2, kCtsChanged = 3, kDsrChanged = 4;

} // namespace

bool WavFileFormat::IsClosed() const {
    return wav_.IsClosed();
}
void WavFileFormat::setDecimator(int32_t factor) {
    wav_.setDecimator(factor);
}
int32_t WavFileFormat::WavSamplingRate() const {
    return wav_.WavSamplingRate();
}
void WavFileFormat::setBitsPerSample(int32_t bits) {
    wav_.setBitsPerSample(bits);
}

ReceiverSwitches::ReceiverSwitches(ReceiverState& state, TuningVfo& vfo, MouseOverS::KnobRoutines& routines,
                                   TuningPanel& tuning, Ports ports)
    : state_(state), vfo_(vfo), routines_(routines), tuning_(tuning), ports_(std::move(ports)) {
    chkTuneLo.Click = [this] { chkTuneLo_Click(); };
    chkIQSelectUpper.Click = [this] { chkIQSelectUpper_Click(); };
    chkFlipIQ.Click = [this] { chkFlipIQ_Click(); };
    optRFInSel.Click = [this](int16_t i) { optRFInSel_Click(i); };
    optIFAttenuation.Click = [this](int16_t i) { optIFAttenuation_Click(i); };
    optRecordSampleRate.Click = [this](int16_t i) { optRecordSampleRate_Click(i); };
    optRecordSamplePerBit.Click = [this](int16_t i) { optRecordSamplePerBit_Click(i); };
}

bool ReceiverSwitches::elektorModel() const {
    return ports_.modelSection && ports_.modelSection() == kElektorModelSection;
}

LineInterface& ReceiverSwitches::ft232() const {
    LineInterface* line = ports_.ft232 ? ports_.ft232() : nullptr;
    if (!line) runtime::raise(runtime::err::kObjectNotSet, "Ft232Line");
    return *line;
}

RecorderFormat& ReceiverSwitches::recorder() const {
    if (!ports_.recorder) runtime::raise(runtime::err::kObjectNotSet, "WavFile");
    return *ports_.recorder;
}

void ReceiverSwitches::chkTuneLo_Click() {
    const bool lowSide = chkTuneLo.Value() == 1;
    chkTuneLo.setForeColor(lowSide ? kTickedColour : kUntickedColour);
    vfo_.SetHiSideLo(!lowSide);
    state_.HiSideLoActive = !lowSide;
    // The BFO's sign follows the LO side; the oscillator is sent again for the new side.
    routines_.SetBFO();
    state_.FiltersDirty = true;
    vfo_.setTunedFrequency(vfo_.TunedFrequency());
    tuning_.Display7Seg(vfo_.FormattedTunedFreq());
    routines_.SetNotchCentre();
}

void ReceiverSwitches::chkIQSelectUpper_Click() {
    if (state_.VFOControl || !state_.IQMode) return;
    const bool upper = chkIQSelectUpper.Value() == 1;
    chkIQSelectUpper.setForeColor(upper ? kTickedColour : kUntickedColour);
    state_.IQSelectUpper = upper;
}

void ReceiverSwitches::chkFlipIQ_Click() {
    state_.FlipIQ = chkFlipIQ.Value() == 1;
}

void ReceiverSwitches::optRFInSel_Click(int16_t Index) {
    if (!elektorModel() || RFInputBusy_) return;
    const ScopedFlag busy(RFInputBusy_);
    LineInterface& line = ft232();
    // The byte goes out with the oscillator's next write, which the tuning below causes.
    line.setPortState(runtime::CByte((line.PortState() & kKeepBesideRFInput) | (Index * 4)));
    if (previousRFInput_ == kCalibrationInput) vfo_.setTunedFrequency(calibrationReturnFrequency_);
    if (Index == kCalibrationInput) {
        vfo_.setCalibMode(true);
        calibrationReturnFrequency_ = vfo_.TunedFrequency();
        vfo_.setTunedFrequency(kCalibrationFrequency);
    } else {
        vfo_.setCalibMode(false);
        vfo_.Refresh();
    }
    previousRFInput_ = Index;
}

void ReceiverSwitches::optIFAttenuation_Click(int16_t Index) {
    if (!elektorModel()) return;
    LineInterface& line = ft232();
    line.setPortState(runtime::CByte((line.PortState() & kKeepBesideAttenuation) | (Index * 32)));
    vfo_.Refresh();
}

void ReceiverSwitches::OnComm(const comm::ModemEvent& event) {
    if (!state_.EnableShaftEncoder || OnCommBusy_) return;
    const ScopedFlag busy(OnCommBusy_);
    try {
        switch (event.commEvent) {
        case kDataReceived:
            // Our serial control watches the modem lines only and keeps no received data: there is
            // nothing waiting to discard.
            break;
        case kCtsChanged:
        case kDsrChanged:
            routines_.QueueEncoderBits(event);
            break;
        default:
            break;
        }
    } catch (const std::exception&) {
        runtime::MsgBox("frmMain:frmMain:MSComm1_OnComm:0", runtime::mb::kOkOnly, "Error");
    }
}

void ReceiverSwitches::optRecordSampleRate_Click(int16_t Index) {
    if (RecordRateBusy_) return;
    const ScopedFlag busy(RecordRateBusy_);
    RecorderFormat& wav = recorder();
    if (!wav.IsClosed()) {
        optRecordSampleRate.setValue(RecordRateIndex_, true);
        return;
    }
    wav.setDecimator(runtime::CLng(std::ldexp(1.0, Index)));
    // Megabytes an hour at two bytes a sample, whatever the width.
    const double megabytes = std::floor(wav.WavSamplingRate() * 7200.0 / 1048576.0 + 0.5);
    lblRecordMBytesPerHr.setCaption(runtime::CStr(megabytes));
    RecordRateIndex_ = Index;
}

void ReceiverSwitches::optRecordSamplePerBit_Click(int16_t Index) {
    if (RecordWidthBusy_) return;
    const ScopedFlag busy(RecordWidthBusy_);
    RecorderFormat& wav = recorder();
    if (!wav.IsClosed()) {
        optRecordSamplePerBit.setValue(RecordWidthIndex_, true);
        return;
    }
    wav.setBitsPerSample(Index == 1 ? 8 : 16);
    RecordWidthIndex_ = Index;
}

void ReceiverSwitches::SelectRecordSampleRate(int32_t index) {
    if (index < 0) {
        const int16_t selected = optRecordSampleRate.Selected();
        if (selected >= 0) optRecordSampleRate.setValue(selected, false);
        return;
    }
    optRecordSampleRate.setValue(runtime::checkedNarrow<int16_t>(index), true);
}

} // namespace frontpanel
