// The installed hooks: the one process-wide mutable state besides the application object, set by the UI
// layer.
#include "platform/runtime/Hooks.h"

#include "platform/runtime/NestedLoops.h"

#include <cstdio>

namespace runtime {

namespace {
Hooks& current() {
    static Hooks hooks;
    return hooks;
}
int32_t nested = 0;
bool ending = false;
} // namespace

NestedLoop::NestedLoop() {
    ++nested;
}
NestedLoop::~NestedLoop() {
    --nested;
}
int32_t nestedLoops() {
    return nested;
}

bool sessionEnding() {
    return ending;
}
void setSessionEnding(bool value) {
    ending = value;
}

int32_t sessionEndAnswer(int32_t buttons) {
    switch (buttons & 0x0F) {
    case mb::kOkCancel:
    case mb::kYesNoCancel:
    case mb::kRetryCancel:
        return mb::kCancel;
    case mb::kYesNo:
        return mb::kNo;
    case mb::kAbortRetryIgnore:
        return mb::kAbort;
    default:
        return mb::kOk;
    }
}

Hooks installHooks(Hooks hooks) {
    Hooks previous = std::move(current());
    current() = std::move(hooks);
    return previous;
}

void DoEvents() {
    if (!current().doEvents) return;
    const NestedLoop nestedLoop;
    current().doEvents();
}

void AddLog(const std::string& line) {
    if (current().addLog) current().addLog(line);
}

int32_t MsgBox(const std::string& prompt, int32_t buttons, const std::string& title) {
    if (sessionEnding()) {
        AddLog(title + ": " + prompt);
        return sessionEndAnswer(buttons);
    }
    if (current().msgBox) {
        const NestedLoop nestedLoop;
        return current().msgBox(prompt, buttons, title);
    }
    std::fprintf(stderr, "%s: %s\n", title.c_str(), prompt.c_str());
    switch (buttons & 0x0F) {
    case mb::kAbortRetryIgnore:
        return mb::kAbort;
    case mb::kYesNoCancel:
    case mb::kYesNo:
        return mb::kYes;
    case mb::kRetryCancel:
        return mb::kRetry;
    default:
        return mb::kOk;
    }
}

} // namespace runtime
