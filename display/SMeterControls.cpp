// The S-meter's pictures and ticks.
#include "display/SMeterControls.h"

#include "platform/ui/Twips.h"

namespace display {

namespace {
constexpr double kInset = 30, kTicksHeight = 270, kScaleHeight = 390;
constexpr int32_t kTickColour = 0x00FF00;
} // namespace

SMeterControls::SMeterControls(QWidget* parent, double left, double top) {
    ui::PictureBox& holder = picSmeter.Load(0, parent);
    holder.Move(left, top, kDesignWidth, kDesignHeight);
    const double width = kDesignWidth - 2 * kInset;
    ui::PictureBox& ticks = picSmeter.Load(1, holder.widget());
    ticks.Move(kInset, kInset, width, kTicksHeight);
    ui::PictureBox& scale = picSmeter.Load(2, holder.widget());
    scale.Move(kInset, kInset + kTicksHeight, width, kScaleHeight);
    picSmeter.forEach([](ui::PictureBox& p) {
        p.surface().resize(ui::pixels(p.Width()), ui::pixels(p.Height()));
        p.setBackColor(0);
        p.Cls();
    });
    for (int16_t i = 0; i < kTicks; ++i) {
        ui::Shape& tick = shpSMeterTick.Load(i, ticks.widget());
        tick.setFillStyle(0);
        tick.setFillColor(kTickColour);
        tick.setBorderColor(0);
        tick.setVisible(false);
    }
}

void SMeterControls::placeTick(int16_t index, const TickPlace& place) {
    shpSMeterTick[index].Move(place.Left, place.Top, place.Width, place.Height);
}

void SMeterControls::setTickVisible(int16_t index, bool on) {
    shpSMeterTick[index].setVisible(on);
}

void SMeterControls::forEachControl(const std::function<void(ui::Control&)>& visit) {
    picSmeter.forEach(visit);
    shpSMeterTick.forEach(visit);
}

void SMeterControls::setToolTipText(int16_t picture, const std::string& text) {
    picSmeter[picture].setToolTipText(text);
}

} // namespace display
