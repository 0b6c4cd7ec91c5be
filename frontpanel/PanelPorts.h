// What the front panel's Qt-free core reaches outside itself: the current VFO, the spectrum analyser's
// knob settings, the main window's highlight routines and the tuning dial's position. The window layer
// and the main window implement them; tests fake them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "frame/TuningPort.h"

class clsVFO;

namespace frontpanel {

// The VFO as the front panel uses it: the chain's tuning port and what the panel sets besides.
// Frequencies and steps in tenths of a hertz.
class TuningVfo : public TuningPort {
public:
    virtual void setTunedFrequency(int32_t value) = 0;
    virtual std::string FormattedTunedFreq() const = 0;
    virtual double TuneStep() const = 0;
    virtual void setTuneStep(double value) = 0;
    virtual void setTuneStepLSD(double value) = 0;
    virtual bool TuneStepLock() const = 0;
    virtual void setTuneStepLock(bool value) = 0;
    virtual double Inc_Freq(double increment) = 0;
    virtual double Dec_Freq(double decrement) = 0;
    virtual int32_t OscOut() const = 0;
    virtual bool HiSideLo() const = 0;
    // Recomputes the oscillator frequency and sends it.
    virtual void Refresh() = 0;
    // The current oscillator's calibration switch; an oscillator without one raises 438.
    virtual void setCalibMode(bool value) = 0;
};

// The VFO in use now: the configuration dialog may replace the object, so the port keeps the way to it,
// never the object. With no VFO every member raises Object variable not set (91), except that a port
// made for the receive path reads the tuning port's members as nothing there (a tuned frequency and an
// IF of 0, no oscillator base, the LO side going nowhere), since a block must still be played.
class CurrentVfo final : public TuningVfo {
public:
    enum class Absent { Raises, ReadsNothing };
    explicit CurrentVfo(std::function<clsVFO*()> accessor, Absent absent = Absent::Raises)
        : accessor_(std::move(accessor)), absent_(absent) {}
    int32_t TunedFrequency() const override;
    std::optional<double> OscillatorBase() const override;
    int32_t IFFrequency() const override;
    void SetHiSideLo(bool high) override;
    void setTunedFrequency(int32_t value) override;
    std::string FormattedTunedFreq() const override;
    double TuneStep() const override;
    void setTuneStep(double value) override;
    void setTuneStepLSD(double value) override;
    bool TuneStepLock() const override;
    void setTuneStepLock(bool value) override;
    double Inc_Freq(double increment) override;
    double Dec_Freq(double decrement) override;
    int32_t OscOut() const override;
    bool HiSideLo() const override;
    void Refresh() override;
    void setCalibMode(bool value) override;

private:
    clsVFO& vfo() const;
    // The VFO for the tuning port's members: none only for a path's port without a VFO.
    clsVFO* tuningVfo() const;
    std::function<clsVFO*()> accessor_;
    Absent absent_;
};

// The spectrum analyser's settings that the display knobs (2 to 6, 15, 19, 21, 22, 24) set and read.
class AnalyserKnobs {
public:
    virtual ~AnalyserKnobs() = default;
    virtual void setChn1Gain(float value) = 0;
    virtual void setChn1Shift(float value) = 0;
    virtual void setChn2Gain(float value) = 0;
    virtual void setChn2Shift(float value) = 0;
    virtual int32_t SpectrumSmooth() const = 0;
    virtual void setSpectrumSmooth(int32_t frames) = 0;
    virtual int32_t DefaultSmoothCount() const = 0;
    virtual void SetChannelBrightness(int16_t channel, int16_t brightness) = 0;
    virtual int32_t FrameRate() const = 0;
    virtual void setFrameRate(int32_t value) = 0;
    // 0 spectrum, 1 time scope, 2 X-Y.
    virtual int32_t mode() const = 0;
    virtual bool IQMode() const = 0;
    virtual int32_t StartBin() const = 0;
    virtual void setStartBin(int32_t value) = 0;
    virtual int32_t StopBin() const = 0;
    virtual void setStopBin(int32_t value) = 0;
    virtual void setScreenWidth(int32_t value) = 0;
    virtual float HzPerBin() const = 0;
    virtual int32_t FOffset() const = 0;
    virtual int32_t ControlColourNormal() const = 0;
    virtual int32_t ControlColourFocused() const = 0;
};

// The frames that hold knobs; hovering over one lights its caption.
enum class KnobFrame {
    frAFOut,
    frAGC,
    frDispMode,
    frIFFilter,
    frNB,
    frNotch,
    frScopeChn1Ctl,
    frScopeChn2Ctl,
    frScopeMode,
    frScopeSweep,
    frScopeYMode,
};

// The main window's hover routines the knobs use. ActiveKnob lives in the receiver state.
class ShellHighlight {
public:
    virtual ~ShellHighlight() = default;
    // Marks a knob and makes it active, unless it is disabled; a negative Index stands for the active
    // knob, and the caller's variable receives it.
    virtual void HighlightValueLabel(int16_t& Index) = 0;
    // Unmarks the active knob; ActiveKnob becomes 0.
    virtual void UnhighlightValueLabel() = 0;
    virtual void UnhighlightValueLabel(int16_t Index) = 0;
    // Every knob back to its normal look; ActiveKnob becomes 0.
    virtual void DarkenControls() = 0;
    virtual void FocusFrame(KnobFrame frame) = 0;
    virtual void UnFocusFrames() = 0;
    // The keyboard focus to the focus sink, so the window's key handler sees the keys.
    virtual void focusSink() = 0;
};

// The tuning dial's position.
class DialPosition {
public:
    virtual ~DialPosition() = default;
    virtual int32_t Value() const = 0;
    // Held within the dial's limits; raises no change event.
    virtual void setValue(int32_t value) = 0;
};

// What the receiver's controls reach on the main window: the power button, its sound start, the DRM
// decoder's start and the process watch over it. The main window implements it; tests fake it.
class ReceiverShell {
public:
    virtual ~ReceiverShell() = default;
    // The power button's "On" is selected.
    virtual bool PowerOn() const = 0;
    // The power button's sound start: prepares the devices and starts sound. A failure leaves the power
    // Off and raises.
    virtual void StartSound() = 0;
    // Starts the DRM decoder when its own options say so.
    virtual void RunDREAM() = 0;
    // Asks the windows of the decoder the main window started to close.
    virtual void CloseProcessWindows() = 0;
};

// The sound engine's state and the two status methods that give the sound card up; 0 is success,
// anything else the number of the error that ended the method.
class SoundCardStatus {
public:
    virtual ~SoundCardStatus() = default;
    virtual bool Prepared() const = 0;
    virtual int32_t StopSound() = 0;
    virtual int32_t ReleaseDevices() = 0;
};

// The spectrum display's notch marker.
class NotchOverlay {
public:
    virtual ~NotchOverlay() = default;
    virtual void setShowNotch(bool show) = 0;
};

// The slider and dial that follow the noise-reduction and volume knobs; an empty one is not there yet.
struct KnobTwins {
    std::function<void(int32_t)> sldNB;
    std::function<void(int32_t)> dialNB;
    std::function<void(int32_t)> dialOutVol;
    std::function<void(int32_t)> sldOutVolume;
};

} // namespace frontpanel
