// The common dialog wrapper: the file-open, file-save and colour dialogs behind one object whose settings
// and results carry over from one caller to the next. Custom colours live in the settings store.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/profile/SettingsStore.h"
#include "platform/ui/DialogService.h"

class clsComDlg {
public:
    // The dialog flag bits callers pass.
    static constexpr int32_t OFN_READONLY = 0x1;
    static constexpr int32_t OFN_OVERWRITEPROMPT = 0x2;
    static constexpr int32_t OFN_HIDEREADONLY = 0x4;
    static constexpr int32_t OFN_NOCHANGEDIR = 0x8;
    static constexpr int32_t OFN_ALLOWMULTISELECT = 0x200;
    static constexpr int32_t OFN_PATHMUSTEXIST = 0x800;
    static constexpr int32_t OFN_FILEMUSTEXIST = 0x1000;
    static constexpr int32_t OFN_CREATEPROMPT = 0x2000;
    static constexpr int32_t OFN_EXPLORER = 0x80000;
    static constexpr int32_t OFN_LONGNAMES = 0x200000;

    clsComDlg(ui::DialogService& dialogs, profile::SettingsStore& store);
    // Saves the custom colours.
    ~clsComDlg();
    clsComDlg(const clsComDlg&) = delete;
    clsComDlg& operator=(const clsComDlg&) = delete;

    std::string Name;
    std::array<int32_t, 16> CustomColours{};

    void setAllowMultiSelect(bool vFlag) { SetFlag(OFN_ALLOWMULTISELECT, vFlag); }
    void setDialogTitle(const std::string& vCaption) { title_ = vCaption; }
    // Adds bits; never removes one.
    void setExistFlags(int32_t vFlags) { flags_ |= vFlags; }
    // Removes the three bits ExistFlags adds, for a caller whose next dialog wants only its own: a
    // must-exist left by an earlier caller would refuse a name that is not there yet.
    void clearExistFlags() { SetFlag(OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_CREATEPROMPT, false); }
    const std::string& Directory() const { return directory_; }
    void setDirectory(const std::string& vInitDir) { initDir_ = vInitDir; }
    const std::string& Extension() const { return extension_; }
    void setExtension(const std::string& vDefExt);
    const std::string& FileName() const { return fileName_; }
    // Taken only when at most 260 characters long.
    void setFileName(const std::string& vFileName);
    const std::vector<std::string>& FileNames() const { return fileNames_; }
    const std::string& FileTitle() const { return fileTitle_; }
    const std::vector<std::string>& FileTitles() const { return fileTitles_; }
    void setRestoreCurDir(bool vFlag) { SetFlag(OFN_NOCHANGEDIR, vFlag); }
    // The selected pair as description "|" pattern; empty while the index is 0.
    std::string Filter() const;
    // Text: "|" separates descriptions and patterns.
    void setFilter(const std::string& vFilter);
    // A filter value of any other kind: no filter at all.
    void clearFilter() { filter_ = std::string(1, '\0'); }
    int32_t FilterIndex() const { return filterIndex_; }
    void setFilterIndex(int32_t vIndex) { filterIndex_ = vIndex; }
    void setReadOnlyIsVisible(bool vFlag) { SetFlag(OFN_HIDEREADONLY, !vFlag); }
    bool ReadOnly() const { return (flags_ & OFN_READONLY) != 0; }
    void setReadOnly(bool vFlag) { SetFlag(OFN_READONLY, vFlag); }

    bool ShowOpen();
    bool ShowSave();
    // The chosen colour, or -1 when cancelled. The dialog is owned by the active window; hWndParent is
    // kept for the callers' sake.
    int32_t SelectColour(const void* hWndParent, int32_t DefColor, bool ShowExpDlg);

    int32_t Flags() const { return flags_; }
    const std::string& DefaultExtension() const { return defExt_; }

private:
    void SetFlag(int32_t bits, bool on);
    bool ShowFileDialog(bool isOpen);
    void saveCustomColours();

    ui::DialogService& dialogs_;
    profile::SettingsStore& store_;
    int32_t flags_ = 0;
    std::string title_;
    std::string initDir_;
    std::string defExt_;
    std::string filter_;
    int32_t filterIndex_ = 0;
    std::string fileText_; // the text the next file dialog starts with
    std::string fileName_;
    std::string fileTitle_;
    std::string directory_;
    std::string extension_;
    std::vector<std::string> fileNames_;
    std::vector<std::string> fileTitles_;
};
