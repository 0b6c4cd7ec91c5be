// A picture that records what is drawn on it, with the state each drawing was made in, and refuses what
// the real picture refuses. Text measures are fixed pixel sizes in the picture's scale.
#pragma once

#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Text.h"
#include "platform/ui/Picture.h"

namespace ui::testing {

class RecordingPicture final : public Picture {
public:
    enum class Kind { Line, Box, Print, Cls };
    struct Drawn {
        Kind kind;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // Print: the current point before the text
        std::string text;
        int32_t colour = 0; // the fore colour; Cls: the back colour
        int16_t mode = rop::kCopyPen, width = 1, style = 0;
        bool persistent = false; // drawn while AutoRedraw was on
        bool restored = false;   // put back by RestoreImage
    };

    static constexpr double kCharPixels = 5;
    static constexpr double kLinePixels = 11;

    RecordingPicture(int32_t pixelWidth, int32_t pixelHeight)
        : pixelWidth_(pixelWidth), pixelHeight_(pixelHeight) {
        scaleWidth_ = pixelWidth * 15.0;
        scaleHeight_ = pixelHeight * 15.0;
    }

    std::vector<Drawn> drawn;
    int32_t polyLines = 0; // PolyLineTo calls; each records its lines as LineTo would
    // "AutoRedraw on", "AutoRedraw off", "Visible", "Hidden", "ZOrder" (to the front), in order.
    std::vector<std::string> events;
    double containerScaleHeight = 6000;

    // What was drawn since the last Cls.
    std::vector<Drawn> sinceCls() const {
        std::vector<Drawn> out;
        for (const Drawn& d : drawn) {
            if (d.kind == Kind::Cls)
                out.clear();
            else
                out.push_back(d);
        }
        return out;
    }
    Drawn lastCls() const {
        for (auto it = drawn.rbegin(); it != drawn.rend(); ++it)
            if (it->kind == Kind::Cls) return *it;
        return Drawn{Kind::Cls, 0, 0, 0, 0, {}, back_, mode_, drawWidth_, style_, autoRedraw_};
    }
    void forget() {
        drawn.clear();
        events.clear();
    }

    void Scale(double left, double top, double width, double height) override {
        if (width == 0 || height == 0) invalid("Scale");
        scaleLeft_ = left;
        scaleTop_ = top;
        scaleWidth_ = width;
        scaleHeight_ = height;
    }
    double ScaleLeft() const override { return scaleLeft_; }
    double ScaleTop() const override { return scaleTop_; }
    double ScaleWidth() const override { return scaleWidth_; }
    double ScaleHeight() const override { return scaleHeight_; }

    double Left() const override { return left_; }
    double Top() const override { return top_; }
    double Width() const override { return width_; }
    double Height() const override { return height_; }
    void Move(double left, double top, double width, double height) override {
        if (width < 0 || height < 0) invalid("Move");
        left_ = left;
        top_ = top;
        width_ = width;
        height_ = height;
    }
    double ContainerScaleHeight() const override { return containerScaleHeight; }
    int32_t PixelWidth() const override { return pixelWidth_; }
    int32_t PixelHeight() const override { return pixelHeight_; }

    int32_t ForeColor() const override { return fore_; }
    void setForeColor(int32_t bgr) override { fore_ = bgr; }
    int32_t BackColor() const override { return back_; }
    void setBackColor(int32_t bgr) override { back_ = bgr; }
    int16_t DrawMode() const override { return mode_; }
    void setDrawMode(int16_t mode) override {
        if (mode < 1 || mode > 16) invalid("DrawMode");
        mode_ = mode;
    }
    int16_t DrawWidth() const override { return drawWidth_; }
    void setDrawWidth(int16_t pixels) override {
        if (pixels < 1) invalid("DrawWidth");
        drawWidth_ = pixels;
    }
    int16_t DrawStyle() const override { return style_; }
    void setDrawStyle(int16_t style) override {
        if (style < 0 || style > 5) invalid("DrawStyle");
        style_ = style;
    }
    std::string FontName() const override { return fontName_; }
    void setFontName(const std::string& name) override { fontName_ = name; }
    double FontSize() const override { return fontSize_; }
    void setFontSize(double points) override {
        if (!(points > 0)) invalid("FontSize");
        fontSize_ = points;
    }

    double CurrentX() const override { return currentX_; }
    double CurrentY() const override { return currentY_; }
    void setCurrentX(double x) override { currentX_ = x; }
    void setCurrentY(double y) override { currentY_ = y; }

    void Cls() override {
        drawn.push_back({Kind::Cls, 0, 0, 0, 0, {}, back_, mode_, drawWidth_, style_, autoRedraw_});
        currentX_ = scaleLeft_;
        currentY_ = scaleTop_;
    }
    void Line(double x1, double y1, double x2, double y2) override {
        checkPixel(x1, y1, "Line");
        checkPixel(x2, y2, "Line");
        record(Kind::Line, x1, y1, x2, y2);
    }
    void PolyLineTo(std::span<const ScalePoint> points) override {
        ++polyLines;
        for (const ScalePoint& p : points)
            runtime::resumeNext([&] { LineTo(p.x, p.y); });
    }
    void Box(double x1, double y1, double x2, double y2) override {
        checkPixel(x1, y1, "Box");
        checkPixel(x2, y2, "Box");
        record(Kind::Box, x1, y1, x2, y2);
    }
    void Print(const std::string& text, bool newLine) override {
        checkPixel(currentX_, currentY_, "Print");
        Drawn d{Kind::Print, currentX_, currentY_,  currentX_, currentY_,  text,
                fore_,       mode_,     drawWidth_, style_,    autoRedraw_};
        drawn.push_back(d);
        if (newLine) {
            currentX_ = scaleLeft_;
            currentY_ += std::copysign(TextHeight(text), scaleHeight_);
        } else {
            currentX_ += TextWidth(text);
        }
    }
    double TextWidth(const std::string& text) const override {
        return static_cast<double>(runtime::charLength(text)) * kCharPixels * std::abs(scaleWidth_) /
               pixelWidth_;
    }
    double TextHeight(const std::string&) const override {
        return kLinePixels * std::abs(scaleHeight_) / pixelHeight_;
    }

    bool AutoRedraw() const override { return autoRedraw_; }
    void setAutoRedraw(bool on) override {
        autoRedraw_ = on;
        events.push_back(on ? "AutoRedraw on" : "AutoRedraw off");
    }
    // A kept image is what was drawn since the last Cls, with that Cls; restoring it records it again.
    void KeepImage(uint64_t key) override {
        kept_ = sinceCls();
        kept_.insert(kept_.begin(), lastCls());
        keptKey_ = key;
        keptSize_ = {pixelWidth_, pixelHeight_};
        events.push_back("KeepImage");
    }
    bool RestoreImage(uint64_t key) override {
        if (kept_.empty() || key != keptKey_ || keptSize_ != std::pair{pixelWidth_, pixelHeight_})
            return false;
        for (Drawn d : kept_) {
            d.restored = true;
            drawn.push_back(d);
        }
        events.push_back("RestoreImage");
        return true;
    }
    void setPixelSize(int32_t width, int32_t height) {
        pixelWidth_ = width;
        pixelHeight_ = height;
    }

    bool Visible() const override { return visible_; }
    void setVisible(bool on) override {
        visible_ = on;
        events.push_back(on ? "Visible" : "Hidden");
    }
    void ZOrder(int16_t position = 0) override { events.push_back(position == 0 ? "ZOrder" : "ZOrder back"); }

private:
    [[noreturn]] static void invalid(const char* source) {
        runtime::raise(runtime::err::kInvalidPropertyValue, source, "Invalid property value");
    }
    // As the real picture: a point with no whole pixel raises Overflow.
    void checkPixel(double x, double y, const char* source) const {
        const double px = (x - scaleLeft_) * pixelWidth_ / scaleWidth_;
        const double py = (y - scaleTop_) * pixelHeight_ / scaleHeight_;
        constexpr double kLimit = 1 << 29;
        if (!(std::fabs(px) < kLimit && std::fabs(py) < kLimit))
            runtime::raise(runtime::err::kOverflow, source);
    }
    void record(Kind kind, double x1, double y1, double x2, double y2) {
        drawn.push_back({kind, x1, y1, x2, y2, {}, fore_, mode_, drawWidth_, style_, autoRedraw_});
        currentX_ = x2;
        currentY_ = y2;
    }

    int32_t pixelWidth_, pixelHeight_;
    double scaleLeft_ = 0, scaleTop_ = 0, scaleWidth_, scaleHeight_;
    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int32_t fore_ = 0, back_ = 0xFFFFFF;
    int16_t mode_ = rop::kCopyPen, drawWidth_ = 1, style_ = 0;
    std::string fontName_ = "MS Sans Serif";
    double fontSize_ = 8;
    double currentX_ = 0, currentY_ = 0;
    bool autoRedraw_ = false;
    bool visible_ = true;
    std::vector<Drawn> kept_;
    uint64_t keptKey_ = 0;
    std::pair<int32_t, int32_t> keptSize_{0, 0};
};

} // namespace ui::testing
