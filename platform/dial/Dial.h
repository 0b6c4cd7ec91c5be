// Our dial control: a round tuning knob the user turns by dragging it round with the mouse. It holds an
// integer Value within two limits and raises Changing for the user's own turns only; a value set from
// code raises nothing. The wheel is not the dial's: wheel events pass on to the window beneath.
#pragma once

#include <cstdint>

#include "platform/ui/Controls.h"

namespace dial {

class Dial final : public ui::Control {
public:
    // A new dial has the widest limits, so it turns without end, as the tuning dial does.
    explicit Dial(QWidget* parent);

    int32_t Value() const noexcept { return value_; }
    // A value beyond the limits is held at the nearer one. Raises nothing.
    void setValue(int32_t value);
    // Limits taken in either order; the value is held within them again, raising nothing.
    int32_t UpperLimit() const noexcept { return upper_; }
    void setUpperLimit(int32_t value);
    int32_t LowerLimit() const noexcept { return lower_; }
    void setLowerLimit(int32_t value);

    // The colour around the knob (0x00BBGGRR), which the dial reports so that the picture behind it
    // can take the same background.
    int32_t ColorDial() const noexcept { return colorDial_; }
    void setColorDial(int32_t bgr);

    // Raised once for every change of Value that a drag makes.
    ui::Handler Changing;

    // The angle of the knob's grip in degrees, clockwise from the top; what the face shows.
    double pointerAngle() const;

private:
    friend class DialFace;
    void dragTo(double angleDegrees);
    void grab(double angleDegrees);
    // Positions one degree of a drag moves.
    double positionsPerDegree() const;

    int32_t value_ = 0;
    int32_t lower_;
    int32_t upper_;
    // A light panel: the rate under the tuning dial is written in black on it.
    int32_t colorDial_ = 0xB0B0B0;
    // The drag under way: the last angle seen, the degrees swept since the press and the positions
    // moved for them.
    double lastAngle_ = 0;
    double swept_ = 0;
    double issued_ = 0;
};

} // namespace dial
