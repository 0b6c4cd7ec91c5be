// The receiver switches: the side of the local oscillator, the I/Q upper side, the swap of the input
// channels, the RF input and IF attenuator of the one model that has them (pins of its FT232 adaptor),
// the serial port's line events for the shaft encoder, and the format of recordings.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "frame/ReceiverState.h"
#include "frontpanel/KnobRoutines.h"
#include "frontpanel/PanelControls.h"
#include "frontpanel/PanelPorts.h"
#include "frontpanel/TuningPanel.h"
#include "platform/comm/MSComm.h"
#include "recorder/RecorderPorts.h"

class LineInterface;

namespace recorder {
class clsWavFile;
}

namespace frontpanel {

// The recording format as the recorder takes it. The main window gives the recorder's own object.
class RecorderFormat {
public:
    virtual ~RecorderFormat() = default;
    // Neither a recording nor a playback is open.
    virtual bool IsClosed() const = 0;
    virtual void setDecimator(int32_t factor) = 0;
    virtual int32_t WavSamplingRate() const = 0;
    virtual void setBitsPerSample(int32_t bits) = 0;
};

// The recorder object as its recording format.
class WavFileFormat final : public RecorderFormat {
public:
    explicit WavFileFormat(recorder::clsWavFile& wav) : wav_(wav) {}
    bool IsClosed() const override;
    void setDecimator(int32_t factor) override;
    int32_t WavSamplingRate() const override;
    void setBitsPerSample(int32_t bits) override;

private:
    recorder::clsWavFile& wav_;
};

// The model whose RF input and IF attenuator the switches drive, compared exactly.
inline constexpr const char* kElektorModelSection = "RXModel.Elektor 2007-05 IQ SDR";

class ReceiverSwitches final : public comm::OnCommHandler, public recorder::RecordSampleRateChoice {
public:
    // What the switches reach besides the receiver state; the accessors give the object in use at the
    // call, and any of them may give none until it is made (a switch that needs it then raises 91).
    struct Ports {
        std::function<std::string()> modelSection; // "RXModel." and the current model's name
        std::function<LineInterface*()> ft232;     // the FT232 adaptor's line object
        RecorderFormat* recorder = nullptr;
    };

    ReceiverSwitches(ReceiverState& state, TuningVfo& vfo, MouseOverS::KnobRoutines& routines,
                     TuningPanel& tuning, Ports ports);
    ReceiverSwitches(const ReceiverSwitches&) = delete;
    ReceiverSwitches& operator=(const ReceiverSwitches&) = delete;

    void chkTuneLo_Click();
    void chkIQSelectUpper_Click();
    void chkFlipIQ_Click();
    // Index 0 to 7 ("CAL" is 7); for other models nothing happens.
    void optRFInSel_Click(int16_t Index);
    void optIFAttenuation_Click(int16_t Index);
    // The serial control's events: 3 (CTS) and 4 (DSR) feed the shaft encoder while it is enabled.
    void OnComm(const comm::ModemEvent& event) override;
    void MSComm1_OnComm(const comm::ModemEvent& event) { OnComm(event); }
    // Refused while the recorder is open: the previous button is selected again.
    void optRecordSampleRate_Click(int16_t Index);
    void optRecordSamplePerBit_Click(int16_t Index);
    // The recorder shows a file's rate: the button of index 0 to 4 is selected, -1 none.
    void SelectRecordSampleRate(int32_t index) override;

    int32_t PreviousRFInput() const noexcept { return previousRFInput_; }
    int32_t CalibrationReturnFrequency() const noexcept { return calibrationReturnFrequency_; }

    PanelCheckBox chkTuneLo{"Low Side LO", "Lo Side LO Injection (Elektor DRM)"};
    PanelCheckBox chkIQSelectUpper{"IQ Upper", "Lo Side LO Injection (Elektor DRM)"};
    PanelCheckBox chkFlipIQ{"L<->R", "Swap Left & Right Input Channels"};
    PanelOptionGroup optRFInSel{{"Wide", "Wideband"},
                                {"MW", "Medium Wave, below 1.8MHz"},
                                {"SW", "Shortwave"},
                                {"EXT", "PC1 External Input"},
                                {"AUX1", "PC1 External Input"},
                                {"AUX2", "PC1 External Input"},
                                {"AUX3", "PC1 External Input"},
                                {"CAL", "5MHz Calibration Signal, S9+40dB Level"}};
    PanelOptionGroup optIFAttenuation{
        {"0dB", "0dB"}, {"-10dB", "-10dB Attenuation"}, {"-20dB", "-20dB Attenuation"}};
    PanelOptionGroup optRecordSampleRate{{"48K", ""}, {"24K", ""}, {"12K", ""}, {"6K", ""}, {"3k", ""}};
    PanelOptionGroup optRecordSamplePerBit{{"16", ""}, {"8", ""}};
    PanelControl lblRecordMBytesPerHr;

private:
    bool elektorModel() const;
    LineInterface& ft232() const;
    RecorderFormat& recorder() const;

    ReceiverState& state_;
    TuningVfo& vfo_;
    MouseOverS::KnobRoutines& routines_;
    TuningPanel& tuning_;
    Ports ports_;
    bool RFInputBusy_ = false;
    int32_t previousRFInput_ = 0;
    int32_t calibrationReturnFrequency_ = 0;
    int16_t RecordRateIndex_ = 0;
    int16_t RecordWidthIndex_ = 0;
    bool RecordRateBusy_ = false;
    bool RecordWidthBusy_ = false;
    bool OnCommBusy_ = false;
};

} // namespace frontpanel
