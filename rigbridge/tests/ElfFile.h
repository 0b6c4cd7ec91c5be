// Reads a shared library's dynamic symbols and needed libraries straight from its ELF file.
#pragma once

#include <string>
#include <vector>

namespace elffile {

// Names the library defines for other objects to bind (global or weak, not undefined).
std::vector<std::string> exportedSymbols(const std::string& path);
// Its DT_NEEDED entries: the libraries the loader must bring in with it.
std::vector<std::string> neededLibraries(const std::string& path);

} // namespace elffile
