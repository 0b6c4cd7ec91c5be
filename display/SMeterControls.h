// The S-meter's widgets: a black holder picture picSmeter(0) with the ticks' picture picSmeter(1) above
// the scale picture picSmeter(2), and the fifteen tick shapes shpSMeterTick(0) to (14) in picSmeter(1).
// They show what the S-meter's core sets.
#pragma once

#include <functional>

#include "display/SMeter.h"
#include "platform/ui/ControlArray.h"
#include "platform/ui/Controls.h"
#include "platform/ui/PictureBox.h"

namespace display {

class SMeterControls final : public SMeterView {
public:
    static constexpr int16_t kTicks = 15;
    static constexpr double kDesignWidth = 3660, kDesignHeight = 720;

    // Builds the meter in parent, its holder's top left at (left, top) twips.
    SMeterControls(QWidget* parent, double left, double top);
    SMeterControls(const SMeterControls&) = delete;
    SMeterControls& operator=(const SMeterControls&) = delete;

    // SMeterView
    ui::Picture& picSmeterScale() override { return picSmeter[2]; }
    int16_t TickUBound() const override { return shpSMeterTick.UBound(); }
    void placeTick(int16_t index, const TickPlace& place) override;
    void setTickVisible(int16_t index, bool on) override;
    void setToolTipText(int16_t picture, const std::string& text) override;

    // Every control of the meter, for the main window's colouring.
    void forEachControl(const std::function<void(ui::Control&)>& visit);

    ui::ControlArray<ui::PictureBox> picSmeter;
    ui::ControlArray<ui::Shape> shpSMeterTick;
};

} // namespace display
