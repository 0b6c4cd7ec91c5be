// The picture box: a control that shows a picture surface, and the picture that core code draws on.
#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/Picture.h"
#include "platform/ui/PictureSurface.h"

namespace ui {

// Mouse events over a picture box, and the controls placed in it, are in its surface's user scale.
class PictureBox final : public Control, public Picture {
public:
    explicit PictureBox(QWidget* parent);
    PictureSurface& surface() { return surface_; }
    QPointF mousePosition(QPointF pixel) const override;
    Handler Click;

    // Placement and visibility are the control's; colours, font and drawing are the surface's. A move
    // resizes the surface at once, shown or not, so a hidden picture can be drawn on at its new size.
    void setLeft(double v) { Move(v, Top(), Width(), Height()); }
    void setTop(double v) { Move(Left(), v, Width(), Height()); }
    void setWidth(double v) { Move(Left(), Top(), v, Height()); }
    void setHeight(double v) { Move(Left(), Top(), Width(), v); }
    double Left() const override { return Control::Left(); }
    double Top() const override { return Control::Top(); }
    double Width() const override { return Control::Width(); }
    double Height() const override { return Control::Height(); }
    void Move(double left, double top, double width, double height) override;
    double ContainerScaleHeight() const override;
    int32_t PixelWidth() const override { return surface_.image().width(); }
    int32_t PixelHeight() const override { return surface_.image().height(); }
    bool Visible() const override { return Control::Visible(); }
    void setVisible(bool on) override { Control::setVisible(on); }
    void ZOrder(int16_t position = 0) override { Control::ZOrder(position); }

    void Scale(double left, double top, double width, double height) override {
        surface_.Scale(left, top, width, height);
    }
    double ScaleLeft() const override { return surface_.ScaleLeft(); }
    double ScaleTop() const override { return surface_.ScaleTop(); }
    double ScaleWidth() const override { return surface_.ScaleWidth(); }
    double ScaleHeight() const override { return surface_.ScaleHeight(); }

    int32_t ForeColor() const override { return surface_.ForeColor(); }
    void setForeColor(int32_t bgr) override { surface_.setForeColor(bgr); }
    int32_t BackColor() const override { return surface_.BackColor(); }
    void setBackColor(int32_t bgr) override;
    int16_t DrawMode() const override { return surface_.DrawMode(); }
    void setDrawMode(int16_t mode) override { surface_.setDrawMode(mode); }
    int16_t DrawWidth() const override { return surface_.DrawWidth(); }
    void setDrawWidth(int16_t pixels) override { surface_.setDrawWidth(pixels); }
    int16_t DrawStyle() const override { return surface_.DrawStyle(); }
    void setDrawStyle(int16_t style) override { surface_.setDrawStyle(style); }
    std::string FontName() const override;
    void setFontName(const std::string& name) override;
    double FontSize() const override;
    void setFontSize(double points) override;

    double CurrentX() const override { return surface_.CurrentX(); }
    double CurrentY() const override { return surface_.CurrentY(); }
    void setCurrentX(double x) override { surface_.setCurrentX(x); }
    void setCurrentY(double y) override { surface_.setCurrentY(y); }
    void Cls() override { surface_.Cls(); }
    void Line(double x1, double y1, double x2, double y2) override { surface_.Line(x1, y1, x2, y2); }
    void PolyLineTo(std::span<const ScalePoint> points) override { surface_.PolyLineTo(points); }
    void Box(double x1, double y1, double x2, double y2) override { surface_.Box(x1, y1, x2, y2); }
    void Print(const std::string& text, bool newLine) override { surface_.Print(text, newLine); }
    double TextWidth(const std::string& text) const override { return surface_.TextWidth(text); }
    double TextHeight(const std::string& text) const override { return surface_.TextHeight(text); }
    bool AutoRedraw() const override { return surface_.AutoRedraw(); }
    void setAutoRedraw(bool on) override { surface_.setAutoRedraw(on); }
    void KeepImage(uint64_t key) override { surface_.KeepImage(key); }
    bool RestoreImage(uint64_t key) override { return surface_.RestoreImage(key); }

private:
    PictureSurface* surfacePtr_ = nullptr; // set before the widget can paint
    PictureSurface surface_;
};

// The surface of the picture box whose widget this is; null for any other widget.
const PictureSurface* pictureSurfaceOf(const QWidget* widget);

} // namespace ui
