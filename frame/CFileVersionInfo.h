// The version record of a file on disk, kept as text properties (the library probe and the About text
// read it). No member fails towards its caller: a file without a record shows as Available false.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CFileVersionInfo {
public:
    // Resolves the name to a full path (against the current folder) and, when that succeeds, stores it
    // and runs Refresh.
    void FullPathName(std::string_view name);
    const std::string& FullPathName() const noexcept { return fullPathName_; }

    bool Available() const noexcept { return available_; }
    const std::string& VerStructure() const noexcept { return verStructure_; }
    const std::string& VerFile() const noexcept { return verFile_; }
    const std::string& VerProduct() const noexcept { return verProduct_; }
    const std::string& FileFlags() const noexcept { return fileFlags_; }
    const std::string& FileOS() const noexcept { return fileOS_; }
    const std::string& FileType() const noexcept { return fileType_; }
    const std::string& FileSubType() const noexcept { return fileSubType_; }
    const std::string& Language() const noexcept { return language_; }
    const std::string& Comments() const noexcept { return strings_[kComments]; }
    const std::string& CompanyName() const noexcept { return strings_[kCompanyName]; }
    const std::string& FileDescription() const noexcept { return strings_[kFileDescription]; }
    const std::string& FileVersion() const noexcept { return strings_[kFileVersion]; }
    const std::string& InternalName() const noexcept { return strings_[kInternalName]; }
    const std::string& LegalCopyright() const noexcept { return strings_[kLegalCopyright]; }
    const std::string& LegalTrademarks() const noexcept { return strings_[kLegalTrademarks]; }
    const std::string& OriginalFilename() const noexcept { return strings_[kOriginalFilename]; }
    const std::string& ProductName() const noexcept { return strings_[kProductName]; }
    const std::string& ProductVersion() const noexcept { return strings_[kProductVersion]; }
    const std::string& PrivateBuild() const noexcept { return strings_[kPrivateBuild]; }
    const std::string& SpecialBuild() const noexcept { return strings_[kSpecialBuild]; }

    // Display label and value of entry 0 to 14 (Language, the string-table values, then
    // LegalTrademarks1 and LegalTrademarks2); empty text for any other index.
    std::string PredefinedName(int32_t index) const;
    std::string PredefinedValue(int32_t index) const;

    // Reads the record of FullPathName again; every field is cleared first, so nothing of an earlier
    // file survives.
    void Refresh();

private:
    enum StringField {
        kComments,
        kCompanyName,
        kFileDescription,
        kFileVersion,
        kInternalName,
        kLegalCopyright,
        kLegalTrademarks,
        kOriginalFilename,
        kProductName,
        kProductVersion,
        kPrivateBuild,
        kSpecialBuild,
        kLegalTrademarks1,
        kLegalTrademarks2,
        kStringCount
    };

    std::string fullPathName_;
    bool available_ = false;
    std::string verStructure_, verFile_, verProduct_, fileFlags_, fileOS_, fileType_, fileSubType_, language_;
    std::string strings_[kStringCount];
};
