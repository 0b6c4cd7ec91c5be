// Standard texts of the run-time errors, and the trace of statements skipped on failure.
#include "platform/runtime/RuntimeError.h"

#include <new>

#include "platform/runtime/Hooks.h"

namespace runtime {

std::string standardDescription(int32_t number) {
    switch (number) {
    case err::kInvalidCall:
        return "Invalid procedure call or argument";
    case err::kOverflow:
        return "Overflow";
    case err::kOutOfMemory:
        return "Out of memory";
    case err::kSubscriptOutOfRange:
        return "Subscript out of range";
    case err::kDivisionByZero:
        return "Division by zero";
    case err::kTypeMismatch:
        return "Type mismatch";
    case err::kDllLoad:
        return "Error in loading DLL";
    case err::kBadFileName:
        return "Bad file name or number";
    case err::kFileNotFound:
        return "File not found";
    case err::kDeviceIo:
        return "Device I/O error";
    case err::kPermissionDenied:
        return "Permission denied";
    case err::kPathFileAccess:
        return "Path/File access error";
    case err::kPathNotFound:
        return "Path not found";
    case err::kObjectNotSet:
        return "Object variable or With block variable not set";
    case err::kInvalidPropertyValue:
        return "Invalid property value";
    case err::kInvalidPropertyArrayIndex:
        return "Invalid property array index";
    case err::kUnsupportedMember:
        return "Object doesn't support this property or method";
    case err::kDllEntryPoint:
        return "Can't find DLL entry point";
    default:
        return {};
    }
}

RuntimeError::RuntimeError(int32_t number, std::string source, std::string description)
    : std::runtime_error(description.empty() ? standardDescription(number) : description), number_(number),
      source_(std::move(source)), description_(what()) {}

void raise(int32_t number, std::string_view source, std::string description) {
    throw RuntimeError(number, std::string(source), std::move(description));
}

void SkipLog::skippedCurrent(std::string_view what) {
    try {
        throw;
    } catch (const RuntimeError& e) {
        last_ = {e.Number(), e.Description()};
    } catch (const std::bad_alloc&) {
        last_ = {err::kOutOfMemory, standardDescription(err::kOutOfMemory)};
    } catch (const std::exception& e) {
        last_ = {err::kInvalidCall, e.what()};
    }
    AddLog(routine_ + ": " + std::string(what) + " skipped: Code=" + std::to_string(last_.Number) +
           " Description=" + last_.Description);
}

void SkipLog::leftOut(std::string_view what, std::string_view why) {
    AddLog(routine_ + ": " + std::string(what) + " left out: " + std::string(why));
}

} // namespace runtime
