// The configuration dialog's own members: what the tabs showed when they were filled (Initial*), the
// choices made since (New*), how it was last closed, the colours to put back after a preview, and the
// two slider results that reach the live receiver.
#pragma once

#include <array>
#include <cstdint>

namespace config {

struct ConfigMembers {
    int32_t InitialCaptureDevice = 0;  // 1-based
    int32_t InitialPlaybackDevice = 0; // 1-based
    int32_t InitialDDSInterfaceType = 0;
    int32_t InitialSDRModelNo = 0;
    int32_t NewSDRModelNo = 0;
    int32_t InitialHamLibRigNo = 0;
    int32_t NewHamLibRigNo = 0;
    bool Cancel = false;

    uint8_t NewIOUPDBitNo = 0;
    uint8_t NewSCLCKBitNo = 0;
    uint8_t NewSDATABitNo = 0;
    int32_t NewRunPriority = 0; // 256, 128, 32 or 64

    // 0 to 6 the main window's scheme, 7 unused, 8 to 15 the display's colours.
    std::array<int32_t, 16> InitialColours{};

    // The sliders' handlers keep their result here first and copy it to the live receiver after the
    // read-out has repainted, so a notification nested in that repaint leaves the newest value in force.
    double AmpBalanceGain = 0;
    double PhaseAngleRadians = 0;
};

} // namespace config
