// The face pictures of the ten transport buttons: 16 x 16 pixels on pure white, the buttons' mask colour.
#pragma once

#include <QImage>
#include <cstdint>

namespace recorder {

// Index 0 to 9 as the buttons are numbered; any other index gives a blank face.
QImage transportFace(int16_t index);

} // namespace recorder
