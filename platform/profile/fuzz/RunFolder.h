// The folder a fuzz target keeps its run's files in: one per process, removed when the process ends, and
// in memory where the system has a memory file system, since each save flushes to the disk.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace profile::fuzz {

class RunFolder {
public:
    explicit RunFolder(std::string_view name) {
        std::error_code ec;
        const std::filesystem::path shm = "/dev/shm";
        const std::filesystem::path base =
            std::filesystem::is_directory(shm, ec) ? shm : std::filesystem::temp_directory_path();
        std::string pattern = (base / (std::string(name) + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::fprintf(stderr, "no folder for the fuzz target's files\n");
            std::abort();
        }
        path_ = pattern;
    }
    ~RunFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// A file's bytes as it lies on disk; empty when it cannot be read.
inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace profile::fuzz
