// The version record reader's fuzz target: any file is answered without a crash; a record is reported
// exactly when a whole, well-formed one is there, with the size its length field gives; every value a
// query finds lies inside the record, and every text it shows is UTF-8.
#include "frame/fuzz/VersionFuzzTarget.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <span>
#include <string>

#include "frame/CFileVersionInfo.h"
#include "platform/profile/fuzz/RunFolder.h"
#include "platform/runtime/Text.h"
#include "platform/version/VersionFile.h"
#include "platform/version/VersionRecord.h"

namespace version::fuzz {

namespace {

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "version record reader: %s\n", what);
    std::abort();
}

const std::string& runFolder() {
    static const profile::fuzz::RunFolder folder("nerix-version-fuzz");
    return folder.path();
}

constexpr const char* kPaths[] = {
    "\\",
    "\\VarFileInfo\\Translation",
    "\\StringFileInfo",
    "\\StringFileInfo\\040904B0\\FileVersion",
    "\\stringfileinfo\\040904b0\\CompanyName",
    "\\StringFileInfo\\040704E4\\CompanyName",
    "\\StringFileInfo\\040904B0\\",
    "\\\\",
};

// Every value the queries find on the block lies inside it; every text is UTF-8.
void queryAll(std::span<const uint8_t> block) {
    for (const char* path : kPaths) {
        if (const auto found = VerQueryValue(block, path); found && !found->value.empty()) {
            if (found->value.data() < block.data() ||
                found->value.data() + found->value.size() > block.data() + block.size())
                broken("a value found outside the record");
        }
        if (const auto text = VerQueryString(block, path); text && !runtime::isValidUtf8(*text))
            broken("a text value that is no UTF-8");
    }
}

} // namespace

void readVersion(const uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    queryAll(bytes); // the checks hold on any block, well-formed or not

    const std::string path = runFolder() + "/fuzz.so";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    const auto record = GetFileVersionInfo(path);
    if (GetFileVersionInfoSize(path) != (record ? record->size() : 0))
        broken("the size and the record disagree");
    if (record) {
        if (!isValidVersionRecord(*record)) broken("a record that is not well formed was given");
        if (record->size() < 2 || std::size_t((*record)[0] | ((*record)[1] << 8)) != record->size())
            broken("a record of another size than its length field");
        queryAll(*record);
    }

    CFileVersionInfo info;
    info.FullPathName(path);
    if (info.Available() != record.has_value()) broken("the file information disagrees with the reader");
    for (int32_t i = -1; i <= 16; ++i) {
        if (!runtime::isValidUtf8(info.PredefinedName(i)) || !runtime::isValidUtf8(info.PredefinedValue(i)))
            broken("a text of the file information that is no UTF-8");
    }
}

} // namespace version::fuzz
