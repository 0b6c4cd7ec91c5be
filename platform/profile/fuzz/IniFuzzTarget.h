// One run of the INI engine over arbitrary file contents and an arbitrary sequence of writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace profile::fuzz {

// The input: the file's bytes, then, where the line below follows them, writes, each a section choice
// byte, a key choice byte, a value length byte and the value's bytes. Choices index the names the file
// holds and a few fixed ones. A file on its own is an input, so files of the kind seed the corpus.
inline constexpr std::string_view kWritesLine = "\n--- writes ---\n";
void readAndWrite(const uint8_t* data, std::size_t size);

// The file's bytes and the offset of the first write (size when there are none).
struct InputParts {
    std::string_view file;
    std::size_t writes = 0;
};
InputParts splitInput(const uint8_t* data, std::size_t size);

// An input of that layout, for seeded replays.
struct Write {
    uint8_t section = 0;
    uint8_t key = 0;
    std::string value;
};
std::vector<uint8_t> makeInput(std::string_view file, const std::vector<Write>& writes);

} // namespace profile::fuzz
