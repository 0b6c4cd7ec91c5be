// Hooks through which Qt-free code pumps the message loop, writes the trace log and shows message boxes.
// They do nothing until the UI layer (or a test) installs them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace runtime {

inline constexpr const char* kProductName = "NerixSDR";

// Message box buttons, icons and answers, with the values the callers compare against.
namespace mb {
inline constexpr int32_t kOkOnly = 0;
inline constexpr int32_t kOkCancel = 1;
inline constexpr int32_t kAbortRetryIgnore = 2;
inline constexpr int32_t kYesNoCancel = 3;
inline constexpr int32_t kYesNo = 4;
inline constexpr int32_t kRetryCancel = 5;
inline constexpr int32_t kCritical = 16;
inline constexpr int32_t kQuestion = 32;
inline constexpr int32_t kExclamation = 48;
inline constexpr int32_t kInformation = 64;

inline constexpr int32_t kOk = 1;
inline constexpr int32_t kCancel = 2;
inline constexpr int32_t kAbort = 3;
inline constexpr int32_t kRetry = 4;
inline constexpr int32_t kIgnore = 5;
inline constexpr int32_t kYes = 6;
inline constexpr int32_t kNo = 7;
} // namespace mb

struct Hooks {
    std::function<void()> doEvents{};
    std::function<void(const std::string& line)> addLog{};
    std::function<int32_t(const std::string& prompt, int32_t buttons, const std::string& title)> msgBox{};
};

// Installs a new set of hooks and returns the previous one. UI thread only.
Hooks installHooks(Hooks hooks);

// Pumps the message loop once.
void DoEvents();
// Appends one line to the trace log (which drops it while logging is off).
void AddLog(const std::string& line);
// Shows a message box; without a UI it writes the prompt to standard error and answers with the
// first button of the set (OK, Abort, Yes or Retry).
int32_t MsgBox(const std::string& prompt, int32_t buttons = mb::kOkOnly,
               const std::string& title = kProductName);

// Installs hooks for one scope and puts the previous ones back at its end (tests, nested UIs).
class ScopedHooks {
public:
    explicit ScopedHooks(Hooks hooks) : previous_(installHooks(std::move(hooks))) {}
    ~ScopedHooks() { installHooks(std::move(previous_)); }
    ScopedHooks(const ScopedHooks&) = delete;
    ScopedHooks& operator=(const ScopedHooks&) = delete;

private:
    Hooks previous_;
};

} // namespace runtime
