// The picture box: a control that shows a picture surface.
#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/PictureSurface.h"

namespace ui {

class PictureBox final : public Control {
public:
    explicit PictureBox(QWidget* parent);
    PictureSurface& surface() { return surface_; }
    Handler Click;

private:
    PictureSurface* surfacePtr_ = nullptr; // set before the widget can paint
    PictureSurface surface_;
};

} // namespace ui
