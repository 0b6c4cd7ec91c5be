// What the shaft encoder shows: the front panel's tuning readout and the main window's encoder count
// label. The front panel and the main window implement it; the radio depends on nothing later than itself.
#pragma once

#include <string>

class EncoderReadout {
public:
    virtual ~EncoderReadout() = default;
    // The tuning readout, given the tuned frequency as nine digits; it redraws only when the text changed.
    virtual void Display7Seg(const std::string& digits) = 0;
    // The caption of the encoder count label (Label15).
    virtual void setLabel15Caption(const std::string& caption) = 0;
};
