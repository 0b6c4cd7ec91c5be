// A slider: an integer position within Min..Max, horizontal or standing up.
#pragma once

#include <cstdint>

#include "platform/ui/Control.h"

class QSlider;

namespace ui {

class Slider final : public Control {
public:
    explicit Slider(QWidget* parent);
    int32_t Min() const;
    int32_t Max() const;
    // A range that no longer holds the value moves it to the nearer end, and Change runs.
    void setMin(int32_t value);
    void setMax(int32_t value);
    int32_t Value() const { return value_; }
    // Outside Min..Max is an invalid property value.
    void setValue(int32_t value);
    int32_t SmallChange() const;
    void setSmallChange(int32_t step);
    int32_t LargeChange() const;
    void setLargeChange(int32_t step);
    // 0 horizontal, Min on the left; 1 vertical, Min at the top. Others are an invalid property value.
    int16_t Orientation() const { return orientation_; }
    void setOrientation(int16_t orientation);
    // A tick mark beside the track every so many positions; 0 for none.
    int32_t TickFrequency() const;
    void setTickFrequency(int32_t positions);
    // Change runs for every change of Value, from code as from the user; Scroll only for the user's
    // moves (drag, track click, keys), so code that sets the position runs its own handler.
    Handler Change;
    Handler Scroll;

private:
    QSlider* slider() const;
    void follow(int value);
    int32_t value_ = 0;
    int16_t orientation_ = 0;
};

} // namespace ui
