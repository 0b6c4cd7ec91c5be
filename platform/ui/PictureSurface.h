// A picture to draw on: a back buffer with a user coordinate system (y runs upward when ScaleHeight is
// negative), a current point, line width and style, and the raster drawing modes 1 to 16 for lines and
// boxes. Flip() shows the buffer on the picture box. While AutoRedraw is on, one painter stays open on the
// buffer, so a frame of many lines costs one painter, not one per line.
#pragma once

#include <QFont>
#include <QImage>
#include <QLine>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/ui/Picture.h"

class QPainter;

namespace ui {

class PictureSurface {
public:
    // Size in pixels; the scale starts as pixels in twips (the default scale mode).
    PictureSurface(int widthPixels, int heightPixels);
    ~PictureSurface();
    PictureSurface(const PictureSurface&) = delete;
    PictureSurface& operator=(const PictureSurface&) = delete;

    void resize(int widthPixels, int heightPixels);
    const QImage& image() const { return image_; }

    // The user coordinate system.
    void Scale(double left, double top, double width, double height);
    double ScaleLeft() const { return scaleLeft_; }
    double ScaleTop() const { return scaleTop_; }
    double ScaleWidth() const { return scaleWidth_; }
    double ScaleHeight() const { return scaleHeight_; }

    int32_t ForeColor() const { return foreColor_; }
    void setForeColor(int32_t bgr) { foreColor_ = bgr; }
    int32_t BackColor() const { return backColor_; }
    void setBackColor(int32_t bgr) { backColor_ = bgr; }
    int16_t DrawMode() const { return drawMode_; }
    void setDrawMode(int16_t mode);
    int16_t DrawWidth() const { return drawWidth_; }
    void setDrawWidth(int16_t pixels);
    // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 transparent.
    int16_t DrawStyle() const { return drawStyle_; }
    void setDrawStyle(int16_t style);
    QFont& Font() { return font_; }
    std::string FontFamily() const;
    void setFontFamily(const std::string& name);
    double FontPointSize() const;
    void setFontPointSize(double points);

    double CurrentX() const { return currentX_; }
    double CurrentY() const { return currentY_; }
    void setCurrentX(double x) { currentX_ = x; }
    void setCurrentY(double y) { currentY_ = y; }

    // Fills with the background colour and puts the current point at the scale's origin.
    void Cls();
    // A line between two points; the end becomes the current point.
    void Line(double x1, double y1, double x2, double y2);
    // A line from the current point.
    void LineTo(double x2, double y2);
    // Lines from the current point through the points, with one pen set-up; a point with no whole pixel
    // is left out, as a LineTo to it would raise and draw nothing.
    void PolyLineTo(std::span<const ScalePoint> points);
    // The outline of the box with these corners.
    void Box(double x1, double y1, double x2, double y2);
    void PSet(double x, double y);
    // Writes text at the current point in the fore colour; text is always drawn as a copy. newLine moves
    // the current point to the start of the next line, else to the end of the text.
    void Print(const std::string& text, bool newLine);
    double TextWidth(const std::string& text) const;
    // Text sizes in scale units, as magnitudes.
    double TextHeight(const std::string& text) const;

    // On opens the painter that the drawing until off shares; off closes it and shows the buffer.
    bool AutoRedraw() const { return painter_ != nullptr; }
    void setAutoRedraw(bool on);

    // A copy of the buffer under a key, and putting it back; see ui::Picture.
    void KeepImage(uint64_t key);
    bool RestoreImage(uint64_t key);

    // Shows what has been drawn (the picture box repaints from the buffer).
    void Flip();
    std::function<void()> onFlip;

    // The pixel a user point falls on, and the user point of a pixel.
    QPointF toPixels(double x, double y) const;
    QPointF fromPixels(QPointF pixel) const;

private:
    template <class Draw> void paint(Draw&& draw);
    void preparePen(QPainter& p);
    QImage image_;
    std::unique_ptr<QPainter> painter_; // open while AutoRedraw is on
    // What the open painter was last given, so a run of lines in one colour sets its pen once.
    struct PenState {
        int32_t colour = -1;
        int16_t mode = 0, width = 0, style = -1;
        bool operator==(const PenState&) const = default;
    } penState_;
    QImage kept_;
    uint64_t keptKey_ = 0;
    std::vector<QLine> lines_; // the polyline's segments, kept so a frame allocates nothing
    QFont font_;
    double scaleLeft_ = 0, scaleTop_ = 0, scaleWidth_ = 0, scaleHeight_ = 0;
    double currentX_ = 0, currentY_ = 0;
    int32_t foreColor_ = 0x000000;
    int32_t backColor_ = 0xFFFFFF;
    int16_t drawMode_ = rop::kCopyPen;
    int16_t drawWidth_ = 1;
    int16_t drawStyle_ = 0;
};

} // namespace ui
