// A digit of the frequency readout: a label whose one-character caption is drawn as a seven-segment
// figure in its text colour, the unlit segments faintly, as on a real display. The caption stays its
// character; one the segments cannot show is drawn unlit.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/Controls.h"

namespace frontpanel {

class SevenSegmentDigit final : public ui::Control {
public:
    explicit SevenSegmentDigit(QWidget* parent, const std::string& caption = "8");
    std::string Caption() const { return caption_; }
    void setCaption(const std::string& text);
    ui::Handler Click;

    // The segments a character lights: bit 0 the top one, then clockwise, bit 6 the middle one.
    static uint8_t segmentsOf(const std::string& caption);

private:
    std::string caption_;
};

// The lock picture beside the tuning rate: a small padlock.
class LockPicture final : public ui::Control {
public:
    explicit LockPicture(QWidget* parent);
};

} // namespace frontpanel
