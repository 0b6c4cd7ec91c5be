// The clock calibration dialog: from one station of known frequency it works out the oscillator clock
// under which the current tuning word gives exactly that station, and lets the user try or apply it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ui/Controls.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/Form.h"
#include "radio/clsVFO.h"

class frmCalibrate final : public ui::Form {
public:
    static constexpr const char* kZeroMessage = "Official Frequency must not be ZERO";
    // Shown for the new clock where the oscillator has none that a station could correct.
    static constexpr const char* kNoClockText = "No clock to calibrate";

    // Works on whatever oscillator the VFO holds when the dialog loads; messages go through dialogs.
    frmCalibrate(clsVFO& vfo, ui::DialogService& dialogs);

    // True once closed with "&Apply", false once closed with "&Cancel"; read by the opener.
    bool ApplyChanges = false;

    // The number mask "#0 000 000" of the dialog's fields: at least seven digits, grouped by three.
    static std::string formatClock(double hertz);

    ui::Label lblCurrentTunedFreqCaption;
    ui::Label lblCurrentTunedFreq;
    ui::Label lblDDSClkInCurrentCaption;
    ui::Label lblDDSClkInCurrent;
    ui::Label lblOfficialFreq;
    ui::TextBox txtOfficialFreq;
    ui::Label lblDDSClkinNewCaption;
    ui::Label lblDDSClkinNew;
    ui::Label lblMHz;
    ui::CommandButton cmdTry;
    ui::CommandButton cmdApply;
    ui::CommandButton cmdCancel;

protected:
    void Form_Load() override;

private:
    void txtOfficialFreq_Change();
    void cmdTry_Click();
    void cmdApply_Click();
    void cmdCancel_Click();
    void setClock(double hertz);

    clsVFO& vfo_;
    ui::DialogService& dialogs_;
    double oldClock_ = 0;
    // Set only by a computation that gave a positive, finite clock; until then nothing can be installed.
    std::optional<double> newClock_;
    bool clockToCalibrate_ = true;
    int32_t tunedFrequency_ = 0;
    int32_t if_ = 0;
    int32_t tuningWord_ = 0;
};
