// The picture box: a control that shows a picture surface.
#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/PictureSurface.h"

namespace ui {

// Mouse events over a picture box, and the controls placed in it, are in its surface's user scale.
class PictureBox final : public Control {
public:
    explicit PictureBox(QWidget* parent);
    PictureSurface& surface() { return surface_; }
    QPointF mousePosition(QPointF pixel) const override;
    Handler Click;

private:
    PictureSurface* surfacePtr_ = nullptr; // set before the widget can paint
    PictureSurface surface_;
};

// The surface of the picture box whose widget this is; null for any other widget.
const PictureSurface* pictureSurfaceOf(const QWidget* widget);

} // namespace ui
