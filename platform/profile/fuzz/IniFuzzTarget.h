// One run of the INI engine over arbitrary file contents and an arbitrary sequence of writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace profile::fuzz {

// The input: two bytes (little-endian) giving the length of the file's bytes, the file's bytes, then
// writes, each a section choice byte, a key choice byte, a value length byte and the value's bytes.
// Choices index the names the file holds and a few fixed ones.
void readAndWrite(const uint8_t* data, std::size_t size);

// An input of that layout, for seeded replays.
struct Write {
    uint8_t section = 0;
    uint8_t key = 0;
    std::string value;
};
std::vector<uint8_t> makeInput(std::string_view file, const std::vector<Write>& writes);

} // namespace profile::fuzz
