// The S-meter's scale and ticks.
#include "display/SMeter.h"

#include <algorithm>
#include <optional>

#include "frame/ScopedFlag.h"
#include "platform/runtime/Convert.h"

namespace display {

namespace {
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kBlack = 0;
} // namespace

void SMeter::DrawSMeterScale() {
    ui::Picture& pic = view_.picSmeterScale();
    pic.Cls();
    pic.setVisible(true);
    pic.setForeColor(kWhite);
    pic.setBackColor(kBlack);
    pic.setFontSize(7);
    pic.setDrawMode(ui::rop::kCopyPen);
    pic.setDrawStyle(0);
    view_.setToolTipText(2, meterBackoffToolTip(state_.NoiseFloor));

    const int32_t n = int32_t{view_.TickUBound()} + 1;
    const double W = pic.Width();
    for (int16_t i = 0; i < n; ++i)
        view_.placeTick(i, sMeterTick(i, n, W, pic.ScaleHeight()));
    const int32_t slot = sMeterSlot(W, n);

    pic.setAutoRedraw(true);
    pic.Cls();
    pic.setCurrentX(0);
    pic.setBackColor(kBlack);
    pic.setForeColor(kWhite);
    pic.setDrawMode(ui::rop::kCopyPen);
    // Each label centred in its slot; the last two fall beyond the right edge.
    double x = 0;
    for (int32_t L = 1; L <= n + 2; ++L) {
        const std::string text = sMeterLabel(L);
        pic.setCurrentY(pic.Height() / 3);
        pic.setCurrentX((slot - pic.TextWidth(text)) / 2 + x);
        pic.Print(text, false);
        x += slot;
    }
    pic.setAutoRedraw(false);
    UpdateSMeter(0);
}

void SMeter::UpdateSMeter(double Level) {
    if (shell_.Minimised() || updateBusy_) return;
    const ScopedFlag busy(updateBusy_);
    const std::optional<int32_t> counted = sMeterTicks(Level);
    if (!counted) return;
    const std::string shown = runtime::CStr(int64_t{*counted});
    view_.setToolTipText(1, shown);
    view_.setToolTipText(2, shown);
    const int32_t upper = view_.TickUBound();
    if (upper < 0) return;
    const int32_t t = std::clamp(*counted, 0, upper);
    if (t > 0) {
        for (int32_t i = 0; i <= t; ++i)
            view_.setTickVisible(static_cast<int16_t>(i), true);
    } else {
        view_.setTickVisible(0, false);
    }
    for (int32_t i = t + 1; i <= upper; ++i)
        view_.setTickVisible(static_cast<int16_t>(i), false);
}

} // namespace display
