// Finding the band plan files of the program folder.
#pragma once

#include <string>
#include <vector>

namespace startup {

// The file names of the folder's band plans ("*.bpl", letter case aside), sorted by name without
// regard to letter case, ties by the exact bytes. A band's index is its place here and the band used
// last is restored by index, so the order must not depend on the directory's listing order. An
// unreadable folder has none.
std::vector<std::string> bandPlanFiles(const std::string& folder);

} // namespace startup
