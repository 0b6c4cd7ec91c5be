// The settings store's fuzz target: whatever the settings file holds, the store reads every key as the
// INI layer reads the file, a save reads as saved, a commit writes exactly the document the store holds
// (and nothing when nothing was saved or the file was refused), and a second store reads it alike.
#include "platform/profile/fuzz/SettingsFuzzTarget.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/profile/FileSettingsStore.h"
#include "platform/profile/IniDocument.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/profile/fuzz/IniFuzzTarget.h"
#include "platform/profile/fuzz/RunFolder.h"
#include "platform/runtime/Hooks.h"

namespace profile::fuzz {

namespace {

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "settings store: %s\n", what);
    std::abort();
}

constexpr std::string_view kApp = "NerixSDR";
// No file holds it, so a read that gives it found no key.
constexpr std::string_view kAbsent = "\x01no such key";

const std::string& runFolder() {
    static const RunFolder folder("nerix-settings-fuzz");
    return folder.path();
}

// The names the file holds as the INI layer reads them (the text of a header up to "]", the text of a key
// line before "="), and a few fixed ones the program reads.
void collectNames(const IniDocument& doc, std::vector<std::string>& sections,
                  std::vector<std::string>& keys) {
    constexpr std::size_t kMostOfEach = 24;
    for (const IniDocument::LineText& line : doc.lines()) {
        const std::string_view text = line.text;
        if (line.header) {
            const auto open = text.find('[');
            const auto close = text.find(']', open + 1);
            if (sections.size() < kMostOfEach)
                sections.emplace_back(
                    text.substr(open + 1, close == std::string_view::npos ? close : close - open - 1));
        } else if (const auto eq = text.find('='); eq != std::string_view::npos && eq > 0) {
            if (keys.size() < kMostOfEach) keys.emplace_back(text.substr(0, eq));
        }
    }
}

} // namespace

void readSaveCommit(const uint8_t* data, std::size_t size) {
    const InputParts parts = splitInput(data, size);
    const std::string file(parts.file);
    const runtime::ScopedHooks quiet{
        runtime::Hooks{[] {}, [](const std::string&) {},
                       [](const std::string&, int32_t, const std::string&) { return runtime::mb::kOk; }}};

    const std::string root = runFolder();
    const std::string path = root + "/" + std::string(kApp) + "/" + std::string(kApp) + ".ini";
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << file;

    const bool refused = refuseText(file).has_value();
    IniDocument mirror = refused ? IniDocument() : IniDocument::fromBytes(file);
    std::vector<std::string> sections{"frmMain", "Recorder", "Display", "S", "\xC3\xA9t\xC3\xA9", "\xD0\x94"};
    std::vector<std::string> keys{"SDRModelNo", "k", " k ", "\xC3\xA9", "\xD0\x9A\xD0\xBB\xD1\x8E\xD1\x87"};
    collectNames(mirror, sections, keys);
    const auto expected = [&](std::size_t s, std::size_t k) {
        return mirror.get(sections[s], keys[k]).value_or(std::string(kAbsent));
    };

    bool saved = false;
    {
        FileSettingsStore store(root);
        // Every key, through the application name in another letter case as well.
        for (std::size_t s = 0; s < sections.size(); ++s) {
            for (std::size_t k = 0; k < keys.size(); ++k) {
                if (store.GetSetting(kApp, sections[s], keys[k], kAbsent) != expected(s, k) ||
                    store.GetSetting("nerixsdr", sections[s], keys[k], kAbsent) != expected(s, k))
                    broken("a key reads otherwise than the file says");
            }
        }
        for (std::size_t pos = parts.writes; pos + 3 <= size;) {
            const std::size_t s = data[pos] % sections.size(), k = data[pos + 1] % keys.size();
            const std::size_t n = std::min<std::size_t>(data[pos + 2], size - pos - 3);
            const std::string value(reinterpret_cast<const char*>(data) + pos + 3, n);
            pos += 3 + n;
            const std::string before = store.GetSetting(kApp, sections[s], keys[k], kAbsent);
            store.SaveSetting(kApp, sections[s], keys[k], value);
            if (checkEntry(sections[s], keys[k], value) != ProfileStatus::Ok) {
                if (store.GetSetting(kApp, sections[s], keys[k], kAbsent) != before)
                    broken("a refused save changed the key");
                continue;
            }
            mirror.set(sections[s], keys[k], value);
            saved = true;
            if (store.GetSetting(kApp, sections[s], keys[k], kAbsent) != expected(s, k))
                broken("a save does not read as saved");
        }
        if (store.commit() == (refused && saved)) broken("a commit's answer is wrong");
        // The store's destructor commits again: nothing is left to write.
    }

    const std::string now = readFile(path);
    if (refused || !saved) {
        if (now != file) broken("a commit wrote a file it had no reason to write");
        if (refused) return;
    } else if (now != mirror.toBytes()) {
        broken("the committed file is not the document the store held");
    }

    FileSettingsStore again(root);
    for (std::size_t s = 0; s < sections.size(); ++s) {
        for (std::size_t k = 0; k < keys.size(); ++k) {
            if (again.GetSetting(kApp, sections[s], keys[k], kAbsent) != expected(s, k))
                broken("the committed file reads otherwise than the store did");
        }
    }
}

} // namespace profile::fuzz
