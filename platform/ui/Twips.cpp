// System colours come from the application's palette, so they follow the platform's theme.
#include "platform/ui/Twips.h"

#include <QApplication>
#include <QPalette>

namespace ui {

QColor systemColour(int index) {
    const QPalette palette = QApplication::palette();
    return palette.color(index == 15 ? QPalette::Button : QPalette::Window);
}

} // namespace ui
