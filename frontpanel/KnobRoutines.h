// The knob apply routines as the knob table calls them: each takes its knob's Value from the table,
// carries it into the receiver state, the filters, the tuning or the display, writes the knob's caption,
// and refuses a second entry while it runs (a pump inside may bring one). The arithmetic is KnobApply's.
#pragma once

#include <cstdint>
#include <functional>

#include "dsp/FilterBank.h"
#include "dsp/Nerix.h"
#include "frame/ReceiverState.h"
#include "frontpanel/FilterSetup.h"
#include "frontpanel/PanelPorts.h"
#include "frontpanel/ScrollLabel.h"
#include "frontpanel/TuningDial.h"
#include "platform/comm/SerialPort.h"
#include "radio/BfoKnob.h"

namespace modEncoder {
class Encoder;
}

namespace MouseOverS {

// What the routines reach. Pointers may be absent until their owner is composed: a routine that needs
// an absent one raises Object variable not set (91), as a missing object does.
struct KnobPorts {
    ReceiverState& state;
    CtlArray& ctlArray;
    Nerix::Wrappers& nerix;
    frontpanel::FilterTables& tables;
    frontpanel::TuningVfo& vfo;
    frontpanel::TuningDial& dial;
    frontpanel::AnalyserKnobs* analyser = nullptr;
    Nerix::FilterBank* filters = nullptr; // its NotchFilter
    modEncoder::Encoder* encoder = nullptr;
    frontpanel::KnobTwins twins{};
};

class KnobRoutines final : public BfoKnob {
public:
    explicit KnobRoutines(KnobPorts ports) : p_(std::move(ports)) {}

    // The apply routine of each knob number (none for 0).
    std::function<void()> applyOf(int16_t knob);

    void TuneByWheel();
    void SetChn1Gain();
    void SetChn1Shift();
    void SetChn2Gain();
    void SetChn2Shift();
    // Every statement on its own guard: one that fails is skipped.
    void SetScopeXWidth();
    void lblFilterHi_Wheel();
    void lblFilterLo_Wheel();
    void SetNB();
    void SetOutVol();
    void ApplyOutVol();
    void SetNotchCentre();
    void SetNotchWidth();
    void SetAGCAttack();
    void SetAGCDecay();
    void SetScopeXCentre();
    void TuneOverScope();
    void SetIFHi();
    void SetIFLo();
    void SetSpectrumSmooth();
    void SetBFO() override;
    void SetY1Bright();
    void SetY2Bright();
    void SetIFShift();
    void SetFrameRate();

    // The serial port's CTS and DSR changes, for the shaft encoder.
    void QueueEncoderBits(const comm::ModemEvent& event);
    int32_t LastEncoderBits() const noexcept { return lastEncoderBits_; }

    // The BFO knob as the software oscillator and the clock generator set it.
    void setBfoValue(float hertz) override;

private:
    ScrollLabel& knob(int16_t index) { return p_.ctlArray[static_cast<size_t>(index)]; }
    frontpanel::AnalyserKnobs& analyser();
    Nerix::FilterBank& filters();
    // The AGC preset row the AGC knobs edit (AGCMode); one past the table raises 9.
    frontpanel::AgcPreset& agcRow();

    KnobPorts p_;

    bool TuneByWheelBusy_ = false;
    bool FilterHiBusy_ = false;
    bool FilterLoBusy_ = false;
    bool SetNBBusy_ = false;
    bool SetOutVolBusy_ = false;
    bool NotchCentreBusy_ = false;
    bool NotchWidthBusy_ = false;
    bool AGCAttackBusy_ = false;
    bool AGCDecayBusy_ = false;
    bool ScopeXCentreBusy_ = false;
    bool IFHiBusy_ = false;
    bool IFLoBusy_ = false;
    bool SpectrumSmoothBusy_ = false;
    bool BFOBusy_ = false;
    bool Y1BrightBusy_ = false;
    bool Y2BrightBusy_ = false;
    bool IFShiftBusy_ = false;
    bool FrameRateBusy_ = false;

    // The display span's work values.
    int32_t spanLimit_ = 0;
    int32_t span_ = 0;
    int32_t spanStart_ = 0;
    int32_t spanStop_ = 0;
    int32_t lastEncoderBits_ = 0;
};

} // namespace MouseOverS
