// Where the display panel leaves the main window room for the band plan's frame (twips, in the scope
// container), for the panel and whatever places or clicks the frame.
#pragma once

namespace display::design {

// The pictures' holder ends above the bottom of the image area, leaving the window room for the band
// plan's frame there (the window's upper bands hold no room for it); this is the top of that room.
inline constexpr double kFreeLeft = 30, kFreeTop = 1665;

} // namespace display::design
