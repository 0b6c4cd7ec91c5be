// A shape: a line drawing that lets the mouse through.
#pragma once

#include <cstdint>

#include "platform/ui/Control.h"

namespace ui {

// A line drawing: a rectangle, square, oval, circle or rounded one, outlined in BorderColor and filled
// in FillColor when FillStyle is solid. Mouse events pass through it to what lies below.
class Shape final : public Control {
public:
    enum Kind : int16_t { kRectangle = 0, kSquare, kOval, kCircle, kRoundedRectangle, kRoundedSquare };
    explicit Shape(QWidget* parent);
    int16_t ShapeKind() const { return shape_; }
    void setShape(int16_t kind);
    int32_t FillColor() const { return fillColor_; }
    void setFillColor(int32_t bgr);
    // 0 solid, 1 transparent.
    int16_t FillStyle() const { return fillStyle_; }
    void setFillStyle(int16_t style);
    int32_t BorderColor() const { return borderColor_; }
    void setBorderColor(int32_t bgr);
    // 0 transparent, 1 opaque: whether BackColor fills the rectangle behind the shape.
    int16_t BackStyle() const { return backStyle_; }
    void setBackStyle(int16_t style);

private:
    bool fillsBackground() const override { return false; }
    int16_t shape_ = kRectangle;
    int32_t fillColor_ = 0x000000;
    int16_t fillStyle_ = 1;
    int32_t borderColor_ = 0x000000;
    int16_t backStyle_ = 0;
};

} // namespace ui
