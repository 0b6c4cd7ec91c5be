// One run of the colour theme reader over arbitrary file contents.
#pragma once

#include <cstddef>
#include <cstdint>

namespace config::fuzz {

// The bytes are a theme file. Every colour the load takes is the swatch's own or a colour the window can
// show; and what it took, saved into the same file, loads back exactly with nothing ignored.
void readTheme(const uint8_t* data, std::size_t size);

} // namespace config::fuzz
