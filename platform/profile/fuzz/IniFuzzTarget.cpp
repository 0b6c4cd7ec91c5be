// The INI engine's fuzz target: any file that is text reads and writes back byte for byte; after any
// writes, every key not written reads as before, every key written reads as written, and the file on disk
// reads exactly as the document in memory.
#include "platform/profile/fuzz/IniFuzzTarget.h"

#include <string.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>

#include "platform/profile/IniDocument.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/runtime/Text.h"

namespace profile::fuzz {

namespace {

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "INI engine: %s\n", what);
    std::abort();
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::u32string folded(std::string_view name) {
    return runtime::foldCase(runtime::toU32(repairUtf8(trimmed(name))));
}

// What the private-profile read gives for a written value: blanks and tabs around it removed, then one
// pair of enclosing quotes.
std::string expectedRead(std::string_view value) {
    const std::string text = repairUtf8(value);
    std::string_view read = trimmed(text);
    if (read.size() >= 2 && (read.front() == '"' || read.front() == '\'') && read.back() == read.front())
        read = read.substr(1, read.size() - 2);
    return std::string(read);
}

// Names the file holds, found by a plain scan of its lines: the text between "[" and "]", and the text
// before "=".
void collectNames(std::string_view file, std::vector<std::string>& sections, std::vector<std::string>& keys) {
    constexpr std::size_t kMostOfEach = 12;
    for (std::size_t pos = 0; pos < file.size();) {
        std::size_t end = file.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = file.size();
        const std::string_view line = file.substr(pos, end - pos);
        const auto open = line.find('[');
        const auto close = open == std::string_view::npos ? open : line.find(']', open);
        const auto eq = line.find('=');
        if (close != std::string_view::npos && sections.size() < kMostOfEach)
            sections.emplace_back(line.substr(open + 1, close - open - 1));
        else if (eq != std::string_view::npos && eq > 0 && keys.size() < kMostOfEach)
            keys.emplace_back(line.substr(0, eq));
        pos = end + 1;
    }
}

struct Reading {
    std::optional<std::string> value, after;
    bool operator==(const Reading&) const = default;
};

Reading readingOf(const IniDocument& doc, const std::string& section, const std::string& key) {
    return {doc.get(section, key), doc.textAfterEquals(section, key)};
}

} // namespace

InputParts splitInput(const uint8_t* data, std::size_t size) {
    // memmem, which libFuzzer watches, so that it learns the line from the comparison.
    const void* line = size == 0 ? nullptr : ::memmem(data, size, kWritesLine.data(), kWritesLine.size());
    if (line == nullptr) return {{reinterpret_cast<const char*>(data), size}, size};
    const auto length = static_cast<std::size_t>(static_cast<const uint8_t*>(line) - data);
    return {{reinterpret_cast<const char*>(data), length}, length + kWritesLine.size()};
}

std::vector<uint8_t> makeInput(std::string_view file, const std::vector<Write>& writes) {
    std::vector<uint8_t> input(file.begin(), file.end());
    if (!writes.empty()) input.insert(input.end(), kWritesLine.begin(), kWritesLine.end());
    for (const Write& w : writes) {
        const std::size_t n = std::min<std::size_t>(w.value.size(), 0xFF);
        input.push_back(w.section);
        input.push_back(w.key);
        input.push_back(static_cast<uint8_t>(n));
        input.insert(input.end(), w.value.begin(), w.value.begin() + static_cast<std::ptrdiff_t>(n));
    }
    return input;
}

void readAndWrite(const uint8_t* data, std::size_t size) {
    const InputParts parts = splitInput(data, size);
    const std::string file(parts.file);
    if (refuseText(file)) return; // refused files are never parsed
    IniDocument doc = IniDocument::fromBytes(file);
    if (doc.toBytes() != file) broken("a file read and written back is not byte for byte the same");

    std::vector<std::string> sections{"MainBand", "SubBand.0",         "Preset.0.0", "S",
                                      "Old",      "\xC3\xA9t\xC3\xA9", "\xD0\x94"};
    std::vector<std::string> keys{"k",   "Caption",  "FreqMin",
                                  " k ", "\xC3\xA9", "\xD0\x9A\xD0\xBB\xD1\x8E\xD1\x87"};
    collectNames(file, sections, keys);
    std::map<std::pair<std::size_t, std::size_t>, Reading> before;
    for (std::size_t s = 0; s < sections.size(); ++s) {
        for (std::size_t k = 0; k < keys.size(); ++k)
            before[{s, k}] = readingOf(doc, sections[s], keys[k]);
    }

    struct Done {
        std::size_t section, key;
        std::string value;
    };
    std::vector<Done> writes;
    std::set<std::pair<std::u32string, std::u32string>> written;
    for (std::size_t pos = parts.writes; pos + 3 <= size;) {
        const std::size_t s = data[pos] % sections.size(), k = data[pos + 1] % keys.size();
        const std::size_t n = std::min<std::size_t>(data[pos + 2], size - pos - 3);
        const std::string value(reinterpret_cast<const char*>(data) + pos + 3, n);
        pos += 3 + n;
        if (checkEntry(sections[s], keys[k], value) != ProfileStatus::Ok) continue;
        doc.set(sections[s], keys[k], value);
        if (doc.get(sections[s], keys[k]) != expectedRead(value))
            broken("a written key does not read as written");
        writes.push_back({s, k, value});
        written.insert({folded(sections[s]), folded(keys[k])});
    }

    const std::string bytes = doc.toBytes();
    if (refuseText(bytes)) broken("the written file is no text the layer reads");
    const IniDocument again = IniDocument::fromBytes(bytes);
    if (again.toBytes() != bytes)
        broken("a written file read and written back is not byte for byte the same");
    for (const auto& [probe, was] : before) {
        const std::string& section = sections[probe.first];
        const std::string& key = keys[probe.second];
        const Reading now = readingOf(doc, section, key);
        if (readingOf(again, section, key) != now)
            broken("the file reads differently from the document it was");
        if (!written.contains({folded(section), folded(key)}) && now != was)
            broken("a key that was not written reads differently");
    }
    // The last write of each key of each section reads from the file as written.
    for (std::size_t i = 0; i < writes.size(); ++i) {
        const Done& w = writes[i];
        const auto same = [&](const Done& later) {
            return folded(sections[later.section]) == folded(sections[w.section]) &&
                   folded(keys[later.key]) == folded(keys[w.key]);
        };
        if (std::none_of(writes.begin() + static_cast<std::ptrdiff_t>(i) + 1, writes.end(), same) &&
            again.get(sections[w.section], keys[w.key]) != expectedRead(w.value))
            broken("a written key does not read as written from the file");
    }
}

} // namespace profile::fuzz
