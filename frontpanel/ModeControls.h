// The demodulation mode buttons: the mode and the filters it runs, and the sound card handed to the DRM
// decoder when DRM is chosen and taken back when it is left.
#pragma once

#include <cstdint>
#include <string>

#include "frame/ReceiverState.h"
#include "frontpanel/FilterControls.h"
#include "frontpanel/FilterSetup.h"
#include "frontpanel/PanelControls.h"
#include "frontpanel/PanelPorts.h"

namespace frontpanel {

class ModeControls {
public:
    // Any port may be absent until its owner is composed: a step that needs it then fails as a missing
    // object does.
    ModeControls(ReceiverState& state, FilterControls& filterControls, FilterSetup* setup,
                 ReceiverShell* shell, SoundCardStatus* soundCard);
    ModeControls(const ModeControls&) = delete;
    ModeControls& operator=(const ModeControls&) = delete;

    // 0 AM, 1 USB, 2 LSB, 3 DRM, 4 FM, 5 BC, 6 SAM, 7 AM1. A step of the sound card's hand-over that fails
    // is reported once, and the handler goes on: the mode is never left half switched, and the next
    // click works.
    void optMode_Click(int16_t Index);

    PanelOptionGroup optMode{{"&AM", "AM Demodulation"},
                             {"&USB", "Single Sideband - Upper Sideband"},
                             {"&LSB", "Single Sideband - Lower Sideband"},
                             {"&DRM", "DRM mode - Select, then launch Dream/DRM.EXE manually"},
                             {"&FM", "Frequency Demodulation"},
                             {"&BC", "AM Demodulation "},
                             {"&SAM", "Synchronous AM"},
                             {"&AM1", "AM Demodulation"}};

private:
    void leaveDrm();
    void enterDrm();
    // Runs one hand-over step; a failure (an error raised, or a status other than 0) is kept for the
    // handler's one report.
    template <class Step> void handOver(Step&& step);
    std::string report() const;
    ReceiverShell& shell();
    SoundCardStatus& soundCard();

    ReceiverState& state_;
    FilterControls& filterControls_;
    FilterSetup* setup_;
    ReceiverShell* shell_;
    SoundCardStatus* soundCard_;
    bool busy_ = false;
    int32_t previousMode_ = 0;
    // The first failure of this run's hand-over, reported when the handler ends.
    int32_t failure_ = 0;
    std::string failureText_;
};

} // namespace frontpanel
