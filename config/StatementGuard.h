// Statements that each run under their own guard, as the dialog's Apply and Preview are specified: a
// statement that fails is skipped and the routine goes on with the next one. Every skip leaves a trace
// line, and the last error skipped is kept for the messages that report it.
#pragma once

#include <cstdint>
#include <exception>
#include <new>
#include <string>
#include <string_view>

#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

namespace config {

class StatementGuard {
public:
    struct SkippedError {
        int32_t Number = 0;
        std::string Description;
    };

    // routine: the name the trace lines give ("frmConfig.cmdApply_Click").
    explicit StatementGuard(std::string routine) : routine_(std::move(routine)) {}

    // Runs one statement; false when it failed and was skipped.
    template <class Statement> bool operator()(std::string_view what, Statement&& statement) {
        try {
            statement();
            return true;
        } catch (const runtime::RuntimeError& e) {
            skipped(what, e.Number(), e.Description());
        } catch (const std::bad_alloc&) {
            skipped(what, runtime::err::kOutOfMemory,
                    runtime::standardDescription(runtime::err::kOutOfMemory));
        } catch (const std::exception& e) {
            skipped(what, runtime::err::kInvalidCall, e.what());
        }
        return false;
    }

    // A statement left out without an error (a value no control holds); it leaves a trace line too.
    void leftOut(std::string_view what, std::string_view why) {
        runtime::AddLog(routine_ + ": " + std::string(what) + " left out: " + std::string(why));
    }

    // The last error a statement was skipped for (number 0 and no text when none was).
    const SkippedError& lastError() const noexcept { return last_; }

private:
    void skipped(std::string_view what, int32_t number, const std::string& description) {
        last_ = {number, description};
        runtime::AddLog(routine_ + ": " + std::string(what) + " skipped: Code=" + std::to_string(number) +
                        " Description=" + description);
    }

    std::string routine_;
    SkippedError last_;
};

} // namespace config
