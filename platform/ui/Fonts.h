// The faces the windows are laid out for: the design measured its controls in Tahoma-sized and Courier
// New-sized text, so the program takes families with the same metrics from the distribution's packages.
#pragma once

#include <QString>

namespace ui {

// The control face and size the windows are laid out for.
inline constexpr char kControlFace[] = "Tahoma";
inline constexpr double kControlPointSize = 8.25;

// Makes the Tahoma-metric faces known (the Wine fonts package keeps them outside the font path) and
// gives the application the control face. Call once, after the application object is made; a missing
// face leaves the toolkit's own.
void installDesignFonts();

// The family that stands for "Courier New": Liberation Mono, which has its metrics, when installed, else
// the system's fixed-pitch face.
QString courierNewFamily();

} // namespace ui
