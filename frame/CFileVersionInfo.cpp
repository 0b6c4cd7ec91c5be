// Reading a version record into text properties through the version layer.
#include "frame/CFileVersionInfo.h"

#include <array>
#include <cstdio>
#include <optional>
#include <span>

#include "platform/version/VersionFile.h"
#include "platform/version/VersionRecord.h"

namespace {

std::string withDigits(uint32_t value, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*u", digits, static_cast<unsigned>(value));
    return buf;
}

// "4.05.0202" for 4.5.2.2; "6.01.760016385" for 6.1.7600.16385: the low halves are joined.
std::string versionText(uint32_t ms, uint32_t ls) {
    std::string text = std::to_string(ms >> 16) + "." + withDigits(ms & 0xFFFF, 2) + ".";
    if ((ls >> 16) != 0) return text + withDigits(ls >> 16, 2) + withDigits(ls & 0xFFFF, 2);
    return text + withDigits(ls & 0xFFFF, 4);
}

std::string osName(uint32_t os) {
    switch (os) {
    case 0x10001:
        return "DOS-Win16";
    case 0x10004:
        return "DOS-Win32";
    case 0x20002:
        return "OS/2-16 PM-16";
    case 0x30003:
        return "OS/2-16 PM-32";
    case 0x40004:
        return "NT-Win32";
    default:
        return "Unknown";
    }
}

std::string hex4(uint16_t v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", static_cast<unsigned>(v));
    return buf;
}

constexpr std::array<const char*, 15> kPredefinedNames = {
    "Language",        "Comments",        "Company Name",     "File Description",  "File Version",
    "Internal Name",   "Legal Copyright", "Legal Trademarks", "Original Filename", "Product Name",
    "Product Version", "Private Build",   "Special Build",    "LegalTrademarks1",  "LegalTrademarks2"};

// String-table keys in the order they are queried after CompanyName, with their fields.
constexpr std::array<const char*, 14> kStringKeys = {
    "Comments",       "CompanyName",     "FileDescription",  "FileVersion",     "InternalName",
    "LegalCopyright", "LegalTrademarks", "OriginalFilename", "ProductName",     "ProductVersion",
    "PrivateBuild",   "SpecialBuild",    "LegalTrademarks1", "LegalTrademarks2"};

} // namespace

void CFileVersionInfo::FullPathName(std::string_view name) {
    const auto full = version::GetFullPathName(name);
    if (!full) return;
    fullPathName_ = *full;
    Refresh();
}

std::string CFileVersionInfo::PredefinedName(int32_t index) const {
    if (index < 0 || index >= static_cast<int32_t>(kPredefinedNames.size())) return {};
    return kPredefinedNames[static_cast<std::size_t>(index)];
}

std::string CFileVersionInfo::PredefinedValue(int32_t index) const {
    if (index == 0) return language_;
    if (index < 0 || index >= static_cast<int32_t>(kPredefinedNames.size())) return {};
    return strings_[index - 1]; // the string fields follow the predefined order from index 1
}

void CFileVersionInfo::Refresh() {
    available_ = false;
    for (std::string* field : {&verStructure_, &verFile_, &verProduct_, &fileFlags_, &fileOS_, &fileType_,
                               &fileSubType_, &language_})
        field->clear();
    for (std::string& field : strings_)
        field.clear();

    const auto block = version::GetFileVersionInfo(fullPathName_);
    if (!block) return;
    available_ = true;
    const std::span<const uint8_t> bytes(*block);

    // A record without a fixed part leaves its fields empty (they were cleared above) and still reads the
    // string tables: the probe needs only the "FileVersion" string.
    if (const auto fixedPart = version::VerQueryValue(bytes, "\\");
        fixedPart && fixedPart->value.size() >= version::FixedFileInfo::kSize) {
        const auto f =
            version::FixedFileInfo::fromBytes(fixedPart->value.first<version::FixedFileInfo::kSize>());
        verStructure_ = std::to_string(f.strucVersion >> 16) + "." + std::to_string(f.strucVersion & 0xFFFF);
        verFile_ = versionText(f.fileVersionMS, f.fileVersionLS);
        verProduct_ = versionText(f.productVersionMS, f.productVersionLS);
        static constexpr std::pair<uint32_t, const char*> kFlags[] = {{0x01, "Debug "},   {0x02, "PreRel "},
                                                                      {0x04, "Patched "}, {0x08, "Private "},
                                                                      {0x10, "Info "},    {0x20, "Special "}};
        for (const auto& [bit, word] : kFlags) {
            if (f.fileFlags & bit) fileFlags_ += word;
        }
        while (!fileFlags_.empty() && fileFlags_.back() == ' ')
            fileFlags_.pop_back();
        fileOS_ = osName(f.fileOS);
        static constexpr const char* kTypes[] = {"Unknown", "Application", "DLL",     "Driver",
                                                 "Font",    "VxD",         "Unknown", "Lib"};
        fileType_ = f.fileType < 8 ? kTypes[f.fileType] : "Unknown";
        static constexpr const char* kDrivers[] = {
            "Unknown",     "Printer drv", "Keyboard drv", "Language drv", "Display drv", "Mouse drv",
            "Network drv", "System drv",  "Installable",  "Sound drv",    "Comm drv"};
        static constexpr const char* kFonts[] = {"", "Raster Font", "Vector Font", "TrueType Font"};
        if (f.fileType == 3 && f.fileSubtype <= 10) fileSubType_ = kDrivers[f.fileSubtype];
        if (f.fileType == 4 && f.fileSubtype >= 1 && f.fileSubtype <= 3) fileSubType_ = kFonts[f.fileSubtype];
    }

    const auto translation = version::VerQueryValue(bytes, "\\VarFileInfo\\Translation");
    if (!translation || translation->length == 0 || translation->value.size() < 4) return;
    const auto& t = translation->value;
    const auto language = static_cast<uint16_t>(t[0] | (t[1] << 8));
    const auto codePage = static_cast<uint16_t>(t[2] | (t[3] << 8));
    language_ = version::VerLanguageName(language);

    const auto query = [&bytes](const std::string& prefix, const char* key) {
        return version::VerQueryString(bytes, prefix + key).value_or(std::string());
    };
    std::string prefix = "\\StringFileInfo\\" + hex4(language) + hex4(codePage) + "\\";
    strings_[kCompanyName] = query(prefix, "CompanyName");
    if (strings_[kCompanyName].empty()) {
        const std::string english = "\\StringFileInfo\\0409" + hex4(codePage) + "\\";
        strings_[kCompanyName] = query(english, "CompanyName");
        if (!strings_[kCompanyName].empty()) prefix = english;
    }
    for (std::size_t i = 0; i < kStringKeys.size(); ++i) {
        if (i != kCompanyName) strings_[i] = query(prefix, kStringKeys[i]);
    }
}
