// Every window's picture of the run on one sheet, so that a reviewer sees the whole program at a glance.
#pragma once

#include <filesystem>

namespace e2e {

// The sheet's own file name in the pictures' folder.
inline constexpr char kContactSheet[] = "contact-sheet.png";

// Lays every PNG picture in the folder but the sheet itself, in the order of their names, in rows on a
// dark ground, and saves the sheet there; false when a picture cannot be read or the sheet not saved.
bool saveContactSheet(const std::filesystem::path& folder);

} // namespace e2e
