// One INI file in memory, kept as the bytes of its lines so that a write changes only the lines it touches.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace profile {

// An INI file is UTF-8 when all of it is valid UTF-8, Windows-1252 otherwise. A file is written back in
// the encoding it was read in; a new file is UTF-8.
enum class IniEncoding { Utf8, Windows1252 };

IniEncoding detectEncoding(std::string_view bytes) noexcept;
// The bytes as UTF-8 text.
std::string decodeText(std::string_view bytes, IniEncoding encoding);
// UTF-8 text as bytes of the encoding; a character Windows-1252 cannot hold becomes "?".
std::string encodeText(std::string_view utf8, IniEncoding encoding);

// Sections and keys match without regard to letter case; the first section of a name and the first
// key of a name in it answer. Lines end at LF, a CR before it belongs to the line end; new lines end in
// CR LF. Names and values are UTF-8 in and out, whatever the file's encoding; blanks around names and
// values do not count.
class IniDocument {
public:
    IniDocument();
    static IniDocument fromBytes(std::string_view bytes);

    IniEncoding encoding() const noexcept { return encoding_; }
    // The value of the key (blanks around it removed, one pair of enclosing quotes dropped), or nullopt.
    std::optional<std::string> get(std::string_view section, std::string_view key) const;
    // Replaces the key's line, or adds the key after the last key of its section, or appends the section.
    // The caller has checked that the names and the value cannot break the line structure.
    void set(std::string_view section, std::string_view key, std::string_view value);
    std::string toBytes() const;

private:
    struct Line {
        std::string raw; // the bytes of the line without its line end
        std::string eol; // "\r\n", "\n" or empty for a last line without a line break
        std::string value;
        bool isKey = false;
    };
    struct Section {
        std::optional<Line> header; // none for the lines before the first header (always sections_[0])
        std::vector<Line> body;
        std::map<std::u32string, std::size_t> keys; // folded key -> first line of that key in body
    };

    static std::u32string fold(std::string_view utf8);
    void addLine(std::string raw, std::string eol);
    Line makeKeyLine(std::string_view key, std::string_view value) const;

    IniEncoding encoding_ = IniEncoding::Utf8;
    std::vector<Section> sections_;
    std::map<std::u32string, std::size_t> sectionIndex_; // folded name -> first section of that name
};

} // namespace profile
