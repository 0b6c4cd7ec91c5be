// Test helpers: a temporary folder removed at the end of the test, and environment variables and the
// German locale set for one scope.
#pragma once

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <locale>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace profile::testing {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "nerix-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }

    std::string write(std::string_view name, std::string_view bytes) const {
        const std::string p = file(name);
        std::filesystem::create_directories(std::filesystem::path(p).parent_path());
        std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
        return p;
    }
    std::string read(std::string_view name) const { return readFile(file(name)); }

    static std::string readFile(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

private:
    std::string path_;
};

// Sets (or, with nullopt, unsets) an environment variable and puts the old value back at scope end.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) old_ = old;
        if (value)
            ::setenv(name_.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_.c_str(), old_->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// Switches the C and C++ locales to German (comma as the decimal separator) for one scope, when the
// machine has that locale; every way out of the test, a failed assertion included, puts "C" back.
class ScopedGermanLocale {
public:
    ScopedGermanLocale() {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                previous_ = std::locale::global(std::locale(name));
                active_ = true;
                return;
            }
        }
    }
    ~ScopedGermanLocale() {
        if (!active_) return;
        std::locale::global(previous_);
        std::setlocale(LC_ALL, "C");
    }
    ScopedGermanLocale(const ScopedGermanLocale&) = delete;
    ScopedGermanLocale& operator=(const ScopedGermanLocale&) = delete;

    bool active() const noexcept { return active_; }

private:
    std::locale previous_;
    bool active_ = false;
};

} // namespace profile::testing
