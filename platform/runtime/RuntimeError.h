// The run-time error every layer raises where a checked runtime would stop, instead of undefined behaviour.
#pragma once

#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

namespace runtime {

// The runtime's error numbers; callers and stored logs rely on these values.
namespace err {
inline constexpr int32_t kInvalidCall = 5;
inline constexpr int32_t kOverflow = 6;
inline constexpr int32_t kOutOfMemory = 7;
inline constexpr int32_t kSubscriptOutOfRange = 9;
inline constexpr int32_t kDivisionByZero = 11;
inline constexpr int32_t kTypeMismatch = 13;
inline constexpr int32_t kDllLoad = 48;
inline constexpr int32_t kBadFileName = 52;
inline constexpr int32_t kFileNotFound = 53;
inline constexpr int32_t kDeviceIo = 57;
inline constexpr int32_t kPermissionDenied = 70;
inline constexpr int32_t kPathFileAccess = 75;
inline constexpr int32_t kPathNotFound = 76;
inline constexpr int32_t kObjectNotSet = 91;
inline constexpr int32_t kInvalidPropertyValue = 380;
inline constexpr int32_t kInvalidPropertyArrayIndex = 381;
inline constexpr int32_t kUnsupportedMember = 438;
inline constexpr int32_t kDllEntryPoint = 453;
} // namespace err

// The runtime's own text for an error number; empty for numbers it has no text for.
std::string standardDescription(int32_t number);

class RuntimeError : public std::runtime_error {
public:
    // An empty description takes the runtime's standard text for the number.
    RuntimeError(int32_t number, std::string source, std::string description = {});

    int32_t Number() const noexcept { return number_; }
    const std::string& Description() const noexcept { return description_; }
    const std::string& Source() const noexcept { return source_; }

private:
    int32_t number_;
    std::string source_;
    std::string description_;
};

[[noreturn]] void raise(int32_t number, std::string_view source, std::string description = {});

// Runs one statement and skips it when it fails, as "resume next" does; true when it completed.
template <class Statement> bool resumeNext(Statement&& statement) noexcept {
    try {
        statement();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// The trace of a routine whose statements are skipped on failure: a line per statement skipped or left
// out, naming the routine, and the last error skipped, for the messages that report it.
class SkipLog {
public:
    struct SkippedError {
        int32_t Number = 0;
        std::string Description;
    };

    // routine: the name the lines begin with ("frmConfig.cmdApply_Click").
    explicit SkipLog(std::string routine) : routine_(std::move(routine)) {}

    // A statement left out without an error (a value no control holds).
    void leftOut(std::string_view what, std::string_view why);

    // Number 0 and no text while nothing was skipped.
    const SkippedError& lastError() const noexcept { return last_; }

private:
    template <class Statement>
    friend bool resumeNext(Statement&& statement, SkipLog& log, std::string_view what);
    // Only inside a handler: the exception being handled is the error `what` was skipped for.
    void skippedCurrent(std::string_view what);

    std::string routine_;
    SkippedError last_;
};

// resumeNext that leaves a line in log when the statement `what` is skipped.
template <class Statement> bool resumeNext(Statement&& statement, SkipLog& log, std::string_view what) {
    try {
        statement();
        return true;
    } catch (const std::exception&) {
        log.skippedCurrent(what);
        return false;
    }
}

} // namespace runtime
