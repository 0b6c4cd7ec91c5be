// The common dialog wrapper over the dialog service.
#include "frame/clsComDlg.h"

#include <limits>

#include "frame/NerixStrings.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Text.h"

namespace {

constexpr int32_t kWhite = 16777215;
const std::string kNul(1, '\0');

std::string key(int i) {
    return "CustomColour(" + std::to_string(i) + ")";
}

// The position after the last folder separator of a path; 0 when there is none.
std::size_t nameOffset(const std::string& path) {
    const auto p = path.find_last_of("/\\");
    return p == std::string::npos ? 0 : p + 1;
}

// The folder of a chosen file, without a trailing separator except at a root ("/", "C:\\").
std::string directoryOf(const std::string& path) {
    const std::size_t offset = nameOffset(path);
    if (offset == 0) return {};
    if (offset == 1 && path[0] == '/') return std::string(1, '/');
    std::string dir = path.substr(0, offset - 1);
    if (dir.size() == 2 && dir[1] == ':') dir.push_back('\\');
    return dir;
}

std::string lowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

} // namespace

clsComDlg::clsComDlg(ui::DialogService& dialogs, profile::SettingsStore& store)
    : dialogs_(dialogs), store_(store) {
    flags_ |= OFN_EXPLORER | OFN_LONGNAMES | OFN_HIDEREADONLY;
    Name = "ComDlg";
    for (int i = 0; i < 16; ++i) {
        auto& colour = CustomColours[static_cast<std::size_t>(i)];
        colour = kWhite;
        const std::string text =
            store_.GetSetting(runtime::kProductName, Name, key(i), std::to_string(colour));
        // A stored value that is no 32-bit number keeps white rather than stopping the caller.
        const auto value = runtime::parseInt(text);
        if (value && *value >= std::numeric_limits<int32_t>::min() &&
            *value <= std::numeric_limits<int32_t>::max())
            colour = static_cast<int32_t>(*value);
    }
}

clsComDlg::~clsComDlg() {
    saveCustomColours();
}

void clsComDlg::saveCustomColours() {
    for (int i = 0; i < 16; ++i)
        store_.SaveSetting(runtime::kProductName, Name, key(i),
                           std::to_string(CustomColours[static_cast<std::size_t>(i)]));
    store_.commit();
}

void clsComDlg::SetFlag(int32_t bits, bool on) {
    if (on)
        flags_ |= bits;
    else
        flags_ &= ~bits;
}

void clsComDlg::setExtension(const std::string& vDefExt) {
    std::string t = Nerix::Replace(vDefExt, ".", "", 1, -1, Nerix::kBinaryCompare);
    // A leading "*" is dropped as well: "*.thm" must give thm, or saved themes would miss the "*.thm"
    // listing.
    const auto stars = t.find_first_not_of('*');
    t = stars == std::string::npos ? std::string{} : t.substr(stars);
    const std::u32string u = runtime::toU32(t);
    defExt_ = lowerAscii(runtime::toUtf8(u.substr(0, 3)));
}

void clsComDlg::setFileName(const std::string& vFileName) {
    if (runtime::charLength(vFileName) <= 260) fileText_ = vFileName;
}

void clsComDlg::setFilter(const std::string& vFilter) {
    filter_ = Nerix::Replace(vFilter, "|", kNul, 1, -1, Nerix::kBinaryCompare) + kNul;
}

std::string clsComDlg::Filter() const {
    if (filterIndex_ == 0) return {};
    const auto parts = Nerix::Split(filter_, kNul, -1, Nerix::kBinaryCompare);
    const int64_t first = 2 * static_cast<int64_t>(filterIndex_) - 2;
    if (first < 0 || first + 1 >= static_cast<int64_t>(parts.size()))
        runtime::raise(runtime::err::kSubscriptOutOfRange, "clsComDlg.Filter");
    return parts[static_cast<std::size_t>(first)] + "|" + parts[static_cast<std::size_t>(first + 1)];
}

bool clsComDlg::ShowOpen() {
    return ShowFileDialog(true);
}

bool clsComDlg::ShowSave() {
    SetFlag(OFN_ALLOWMULTISELECT, false);
    SetFlag(OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT, true);
    return ShowFileDialog(false);
}

bool clsComDlg::ShowFileDialog(bool isOpen) {
    if (flags_ & OFN_READONLY) flags_ &= ~OFN_HIDEREADONLY;

    ui::FileDialogRequest r;
    r.isOpen = isOpen;
    r.title = title_;
    r.initialDirectory = initDir_;
    r.fileName = fileText_;
    const auto parts = Nerix::Split(filter_, kNul, -1, Nerix::kBinaryCompare);
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
        if (!parts[i].empty() || !parts[i + 1].empty()) r.filters.emplace_back(parts[i], parts[i + 1]);
    r.filterIndex = filterIndex_ < 1 ? 1 : filterIndex_;
    r.defaultExtension = defExt_;
    // The flag word keeps every bit callers ever set; a dialog applies only those meaningful to its kind,
    // and on an open dialog a create prompt outranks must-exist.
    r.allowMultiSelect = isOpen && (flags_ & OFN_ALLOWMULTISELECT);
    r.pathMustExist = (flags_ & OFN_PATHMUSTEXIST) != 0;
    r.createPrompt = isOpen && (flags_ & OFN_CREATEPROMPT);
    r.fileMustExist = isOpen && (flags_ & OFN_FILEMUSTEXIST) && !r.createPrompt;
    r.overwritePrompt = !isOpen && (flags_ & OFN_OVERWRITEPROMPT);
    r.showReadOnly = !(flags_ & OFN_HIDEREADONLY);
    r.readOnly = (flags_ & OFN_READONLY) != 0;

    const auto result = dialogs_.FileDialog(r);
    if (!result || result->files.empty()) return false;

    filterIndex_ = result->filterIndex;
    SetFlag(OFN_READONLY, result->readOnly);
    const std::string& first = result->files.front();
    if (result->files.size() == 1) {
        fileName_ = first;
        fileTitle_ = first.substr(nameOffset(first));
        const auto dot = fileTitle_.rfind('.');
        if (dot != std::string::npos) extension_ = fileTitle_.substr(dot + 1);
        fileTitles_.push_back(fileTitle_);
        fileNames_.push_back(fileName_);
        fileText_ = fileName_;
    } else {
        for (const auto& f : result->files) {
            fileTitles_.push_back(f.substr(nameOffset(f)));
            fileNames_.push_back(f);
        }
        fileName_.clear();
        fileTitle_.clear();
        fileText_ = first;
    }
    directory_ = directoryOf(first);
    return true;
}

int32_t clsComDlg::SelectColour(const void* hWndParent, int32_t DefColor, bool ShowExpDlg) {
    (void)hWndParent;
    ui::ColourDialogRequest r;
    r.initialColour = DefColor;
    r.customColours = CustomColours;
    r.fullOpen = ShowExpDlg;
    const auto result = dialogs_.ColourDialog(r);
    if (!result) return -1;
    CustomColours = result->customColours;
    // Saved at once, so a choice survives an exit that never destroys this object.
    saveCustomColours();
    return result->colour;
}
