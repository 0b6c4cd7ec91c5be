// What the recorder's tests write WAV files with and read them back through: little-endian fields, and
// a file's properties and samples as sox, a reader that is not ours, reports them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace recorder::testing {

inline std::string le32(uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[std::size_t(i)] = char(v >> (8 * i));
    return s;
}

inline std::string le16(uint16_t v) {
    return std::string{char(v & 0xFF), char(v >> 8)};
}

// `sox --i <option>` on the file ("-r" rate, "-b" bits, "-s" samples); empty when sox cannot read it.
inline std::string soxInfo(const std::string& path, const char* option) {
    const std::string cmd = "sox --i " + std::string(option) + " '" + path + "' 2>/dev/null";
    FILE* pipe = ::popen(cmd.c_str(), "r");
    char buf[128] = {};
    std::string out;
    if (pipe && std::fgets(buf, sizeof buf, pipe)) out = buf;
    if (pipe) ::pclose(pipe);
    while (!out.empty() && (out.back() == '\n' || out.back() == ' '))
        out.pop_back();
    return out;
}

// The file's samples as sox decodes them, widened to signed 16-bit.
inline std::vector<int16_t> soxSamples(const std::string& path) {
    const std::string cmd = "sox -q '" + path + "' -t raw -e signed-integer -b 16 -L - 2>/dev/null";
    FILE* pipe = ::popen(cmd.c_str(), "r");
    std::vector<int16_t> out;
    int16_t s = 0;
    while (pipe && std::fread(&s, 2, 1, pipe) == 1)
        out.push_back(s);
    if (pipe) ::pclose(pipe);
    return out;
}

} // namespace recorder::testing
