// The S-meter: a row of ticks, 6 dB each, lit for a level above the noise floor, with a scale of S-units
// and decibels over S9 printed beneath them. Qt-free; the meter's widgets implement its view.
#pragma once

#include <cstdint>
#include <string>

#include "display/DisplayShell.h"
#include "display/ScopeArithmetic.h"
#include "frame/ReceiverState.h"
#include "platform/ui/Picture.h"

namespace display {

// The meter's controls: the ticks shpSMeterTick(0) to (UBound), lit by being visible, in picSmeter(1),
// and the scale picture picSmeter(2).
class SMeterView {
public:
    virtual ~SMeterView() = default;
    virtual ui::Picture& picSmeterScale() = 0;
    virtual int16_t TickUBound() const = 0;
    virtual void placeTick(int16_t index, const TickPlace& place) = 0;
    virtual void setTickVisible(int16_t index, bool on) = 0;
    // picture 1 or 2.
    virtual void setToolTipText(int16_t picture, const std::string& text) = 0;
};

class SMeter {
public:
    SMeter(ReceiverState& state, SMeterView& view, DisplayShell& shell)
        : state_(state), view_(view), shell_(shell) {}

    // Lays the ticks out across the scale picture, prints the scale with the noise floor as its tooltip,
    // and darkens the ticks.
    void DrawSMeterScale();
    // Lights the ticks for a level over the noise floor (an RMS ratio): one per 6 dB, none below 6 dB.
    // The tooltips show the count before it is held to the ticks. Nothing while the main window is
    // minimised, nor from within itself; a level that gives no whole number of decibels changes nothing.
    void UpdateSMeter(double Level);

private:
    ReceiverState& state_;
    SMeterView& view_;
    DisplayShell& shell_;
    bool updateBusy_ = false;
};

} // namespace display
