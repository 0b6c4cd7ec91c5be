// One INI file in memory, kept as the bytes of its lines so that a write changes only the lines it touches.
// Every reader of INI files (the private-profile service, the settings store, the whole-file reader
// clsINIFile) finds sections and keys through it, so a save replaces exactly the line a load read.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace profile {

// An INI file is UTF-8 when all of it is valid UTF-8, Windows-1252 otherwise. A write keeps that
// reading true for every other line of the file.
enum class IniEncoding { Utf8, Windows1252 };

IniEncoding detectEncoding(std::string_view bytes) noexcept;
// The bytes as UTF-8 text.
std::string decodeText(std::string_view bytes, IniEncoding encoding);
// UTF-8 text as bytes of the encoding; a character Windows-1252 cannot hold becomes "?".
std::string encodeText(std::string_view utf8, IniEncoding encoding);
// Whether every character of the UTF-8 text exists in Windows-1252.
bool fitsWindows1252(std::string_view utf8);
// The bytes as UTF-8 text: valid UTF-8 stays, every other byte is taken as a Windows-1252 character
// (a Latin-1 file name handed on as bytes).
std::string repairUtf8(std::string_view bytes);

// Why bytes are no text this layer reads: nullopt for text; "UTF-16" or "NUL" otherwise.
enum class TextRefusal { Utf16, NotText };
std::optional<TextRefusal> refuseText(std::string_view bytes) noexcept;

// Sections and keys match without regard to letter case; the first section of a name and the first key
// of a name in it answer.
// - A header is a line whose first character other than blanks and tabs is "["; its name is the text
//   up to the next "]", blanks and tabs around it removed, so " [ MainBand ] remark" opens "MainBand"
//   and "[Old][MainBand]" opens "Old". One name per header: no two names ever share a section.
// - A key line is any other line holding "=" with a name before it, blanks and tabs around the name
//   removed. Lines before the first header belong to no section.
// - Lines end at LF, a CR before it belonging to the line end; a file without LF whose lines end in CR
//   alone is read line by line too. A UTF-8 byte-order mark is kept and is no part of the first line.
// New lines end as the file's lines do (CR LF, or CR in a file of CR alone). Names and values are UTF-8
// in and out, whatever the file's encoding.
class IniDocument {
public:
    IniDocument();
    // The bytes must be text (refuseText gives nullopt); any such bytes read back byte for byte.
    static IniDocument fromBytes(std::string_view bytes);

    IniEncoding encoding() const noexcept { return encoding_; }
    bool byteOrderMark() const noexcept { return bom_; }
    // The value as the private-profile service reads it (blanks and tabs around it removed, one pair of
    // enclosing quotes dropped), or nullopt.
    std::optional<std::string> get(std::string_view section, std::string_view key) const;
    // The text after the key line's "=" with leading blanks and tabs removed (the whole-file reader's
    // value), or nullopt.
    std::optional<std::string> textAfterEquals(std::string_view section, std::string_view key) const;
    // Replaces the key's line (left as it is when it gives the value already), or adds the
    // key after the last key of its section, or appends the section. The caller has checked that the names
    // and the value cannot break the line structure. Bytes that are not valid UTF-8 are taken as Windows-1252
    // characters; a character a Windows-1252 file cannot hold turns the whole file into UTF-8, every line
    // converted so that it reads the same.
    void set(std::string_view section, std::string_view key, std::string_view value);
    std::string toBytes() const;

    // Each line's text (UTF-8) and whether it is a header, in file order; and whether the last line ends
    // with a line break.
    struct LineText {
        std::string text;
        bool header = false;
    };
    std::vector<LineText> lines() const;
    std::size_t lineCount() const noexcept;
    std::size_t headerCount() const noexcept;
    bool endsWithLineBreak() const noexcept;

private:
    struct Line {
        std::string raw; // the bytes of the line without its line end
        std::string_view
            eol; // "\r\n", "\n", "\r" or empty for a last line without a line break (static text)
    };
    // Lookups and additions take the same time in a section of ten keys and of a hundred thousand: the
    // lines keep the file's order and spelling, the indexes beside them find a line without a scan, and
    // the lines after the last key are apart, so a key added after it moves no line.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const noexcept {
            return std::hash<std::string_view>{}(name);
        }
    };
    // Folded name -> first of that name; looked up by a view of the folded name.
    using Index = std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>>;
    struct Section {
        std::optional<Line> header; // none for the lines before the first header (always sections_[0])
        std::vector<Line> body;     // up to the last key line, which ends it
        std::vector<Line> tail;     // the lines after the last key line
        Index keys;                 // into body
    };

    const Line* find(std::string_view section, std::string_view key) const;
    Line makeKeyLine(std::string_view key, std::string_view value) const;
    // A key line's text after its "=", as UTF-8 (decoded into store when the file is not UTF-8).
    std::string_view afterEquals(const Line& line, std::string& store) const;
    Line* lastLine();
    const Line* lastLine() const;
    void convertToUtf8();
    std::string assemble(bool asUtf8) const;
    template <class Visit> void forEachLine(Visit visit) const;

    IniEncoding encoding_ = IniEncoding::Utf8;
    bool bom_ = false;
    std::string_view newline_ = "\r\n"; // static text
    std::vector<Section> sections_;
    Index sectionIndex_; // into sections_
};

} // namespace profile
