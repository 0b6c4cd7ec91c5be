// A picture to draw on, as core code sees it: a user coordinate system (y runs upward when ScaleHeight is
// negative), a current point, lines and boxes in the fore colour under a raster drawing mode, text with
// its measures, a persistent image that brackets a frame's drawing, and its place among its siblings.
// ui::PictureBox implements it; ui::testing::RecordingPicture records what was drawn.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace ui {

// The raster drawing modes, by the numbers the windows set in DrawMode.
namespace rop {
inline constexpr int16_t kBlack = 1;
inline constexpr int16_t kNotMergePen = 2;
inline constexpr int16_t kMaskNotPen = 3;
inline constexpr int16_t kNotCopyPen = 4;
inline constexpr int16_t kMaskPenNot = 5;
inline constexpr int16_t kInvert = 6;
inline constexpr int16_t kXorPen = 7;
inline constexpr int16_t kNotMaskPen = 8;
inline constexpr int16_t kMaskPen = 9;
inline constexpr int16_t kNotXorPen = 10;
inline constexpr int16_t kNop = 11;
inline constexpr int16_t kMergeNotPen = 12;
inline constexpr int16_t kCopyPen = 13;
inline constexpr int16_t kMergePenNot = 14;
inline constexpr int16_t kMergePen = 15;
inline constexpr int16_t kWhite = 16;
} // namespace rop

// A point in the picture's scale.
struct ScalePoint {
    double x = 0, y = 0;
};

class Picture {
public:
    virtual ~Picture() = default;

    // The user coordinate system. A width or height of 0 raises Invalid property value (380).
    virtual void Scale(double left, double top, double width, double height) = 0;
    virtual double ScaleLeft() const = 0;
    virtual double ScaleTop() const = 0;
    virtual double ScaleWidth() const = 0;
    virtual double ScaleHeight() const = 0;
    void setScaleLeft(double v) { Scale(v, ScaleTop(), ScaleWidth(), ScaleHeight()); }
    void setScaleTop(double v) { Scale(ScaleLeft(), v, ScaleWidth(), ScaleHeight()); }
    void setScaleWidth(double v) { Scale(ScaleLeft(), ScaleTop(), v, ScaleHeight()); }
    void setScaleHeight(double v) { Scale(ScaleLeft(), ScaleTop(), ScaleWidth(), v); }

    // The picture's place and outer size in its container's scale (twips on a form).
    virtual double Left() const = 0;
    virtual double Top() const = 0;
    virtual double Width() const = 0;
    virtual double Height() const = 0;
    // A negative size raises Invalid property value (380).
    virtual void Move(double left, double top, double width, double height) = 0;
    void setLeft(double v) { Move(v, Top(), Width(), Height()); }
    void setTop(double v) { Move(Left(), v, Width(), Height()); }
    void setHeight(double v) { Move(Left(), Top(), Width(), v); }
    // The height of the container's own scale.
    virtual double ContainerScaleHeight() const = 0;
    // The size of the drawing in pixels, at least 1 each.
    virtual int32_t PixelWidth() const = 0;
    virtual int32_t PixelHeight() const = 0;

    // Colours are 0x00BBGGRR.
    virtual int32_t ForeColor() const = 0;
    virtual void setForeColor(int32_t bgr) = 0;
    virtual int32_t BackColor() const = 0;
    virtual void setBackColor(int32_t bgr) = 0;
    // One of the rop modes 1 to 16; anything else raises 380. Lines and boxes only: text is copied.
    virtual int16_t DrawMode() const = 0;
    virtual void setDrawMode(int16_t mode) = 0;
    // Pixels, 1 or more; less raises 380.
    virtual int16_t DrawWidth() const = 0;
    virtual void setDrawWidth(int16_t pixels) = 0;
    // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 transparent; anything else raises 380.
    virtual int16_t DrawStyle() const = 0;
    virtual void setDrawStyle(int16_t style) = 0;
    virtual std::string FontName() const = 0;
    virtual void setFontName(const std::string& name) = 0;
    virtual double FontSize() const = 0;
    virtual void setFontSize(double points) = 0;

    virtual double CurrentX() const = 0;
    virtual double CurrentY() const = 0;
    virtual void setCurrentX(double x) = 0;
    virtual void setCurrentY(double y) = 0;

    // Fills the picture with the back colour and puts the current point at the scale's top left.
    virtual void Cls() = 0;
    // A line between two points in the fore colour; the end becomes the current point. A point with no
    // whole pixel (not finite, or 2^29 pixels or more away) raises Overflow (6), draws nothing and
    // leaves the current point.
    virtual void Line(double x1, double y1, double x2, double y2) = 0;
    void LineTo(double x2, double y2) { Line(CurrentX(), CurrentY(), x2, y2); }
    // LineTo each point in turn, each a statement of its own: a line that raises is left out (the next
    // starts from the last point reached). One call draws a whole trace.
    virtual void PolyLineTo(std::span<const ScalePoint> points) = 0;
    // The outline of the box with these corners; the second becomes the current point.
    virtual void Box(double x1, double y1, double x2, double y2) = 0;
    // Writes text at the current point in the fore colour. newLine moves the current point to the start
    // of the next line, else to the end of the text.
    virtual void Print(const std::string& text, bool newLine) = 0;
    // Text measures in scale units, as magnitudes.
    virtual double TextWidth(const std::string& text) const = 0;
    virtual double TextHeight(const std::string& text) const = 0;

    // While on, drawing goes into the persistent image in one pass; switching it off shows the image.
    virtual bool AutoRedraw() const = 0;
    virtual void setAutoRedraw(bool on) = 0;

    // A copy of the whole drawing kept under a key, so an unchanged background need not be drawn again.
    // RestoreImage puts the copy back (as drawn, over everything) and answers true only when one was
    // kept under that key at the picture's present size; it leaves the current point and the pen alone.
    virtual void KeepImage(uint64_t key) = 0;
    virtual bool RestoreImage(uint64_t key) = 0;

    virtual bool Visible() const = 0;
    virtual void setVisible(bool on) = 0;
    // 0 brings the picture in front of its siblings, 1 puts it behind them.
    virtual void ZOrder(int16_t position = 0) = 0;
};

} // namespace ui
