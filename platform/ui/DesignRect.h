// Design rectangles: where a window's code places a control, in twips relative to its container, and
// their composition into the top-level window's client area in pixels. Qt-free, so a program that
// drives the windows from outside reads the same places the windows are built from.
#pragma once

#include <array>
#include <cstdint>

namespace ui {

// Twips in the container's coordinates. A frame's children and a picture box's (in its default scale)
// are placed from the container's own top left corner, border and caption included.
struct DesignRect {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
    constexpr double bottom() const { return Top + Height; }
    constexpr double right() const { return Left + Width; }
    bool operator==(const DesignRect&) const = default;
};

// Puts a control (any with Move, so a picture box resizes its surface) at its design place.
template <class Control> void place(Control& control, const DesignRect& r) {
    control.Move(r.Left, r.Top, r.Width, r.Height);
}

// Nearest whole number, halves to even, as the UI layer rounds a placement (runtime::CLng).
constexpr int32_t roundHalfEven(double v) {
    auto f = static_cast<int64_t>(v);
    if (static_cast<double>(f) > v) --f;
    const double frac = v - static_cast<double>(f);
    if (frac > 0.5 || (frac == 0.5 && f % 2 != 0)) ++f;
    return static_cast<int32_t>(f);
}

inline constexpr double kDesignTwipsPerPixel = 15;

// Twips to whole pixels, as ui::pixels does.
constexpr int32_t designPixels(double twips) {
    return roundHalfEven(twips / kDesignTwipsPerPixel);
}

struct PixelRect {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    constexpr int32_t centreX() const { return X + Width / 2; }
    constexpr int32_t centreY() const { return Y + Height / 2; }
    bool operator==(const PixelRect&) const = default;
};

// A control and the containers it sits in, outermost first, each placed in the one before it; the
// first is placed in the top-level window's client area.
class DesignPath {
public:
    static constexpr int kMaxDepth = 8;

    constexpr DesignPath() = default;
    constexpr explicit DesignPath(const DesignRect& outermost) { steps_[0] = outermost, depth_ = 1; }

    // The path to a control placed in this one.
    constexpr DesignPath then(const DesignRect& inner) const {
        DesignPath p = *this;
        if (depth_ < kMaxDepth) p.steps_[static_cast<size_t>(depth_)] = inner, ++p.depth_;
        return p;
    }

    constexpr int depth() const { return depth_; }
    constexpr const DesignRect& step(int i) const { return steps_[static_cast<size_t>(i)]; }

    // The control's rectangle in the client area. Each placement lands on whole pixels by itself (the
    // UI layer rounds a control's own twips), so the offsets are summed in pixels, not in twips.
    constexpr PixelRect pixels() const {
        PixelRect r;
        for (int i = 0; i < depth_; ++i) {
            const DesignRect& s = step(i);
            r.X += designPixels(s.Left);
            r.Y += designPixels(s.Top);
            if (i == depth_ - 1) {
                r.Width = designPixels(s.Width);
                r.Height = designPixels(s.Height);
            }
        }
        return r;
    }

private:
    std::array<DesignRect, kMaxDepth> steps_{};
    int depth_ = 0;
};

} // namespace ui
