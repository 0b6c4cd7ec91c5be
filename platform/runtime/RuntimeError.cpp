// Standard texts of the run-time errors.
#include "platform/runtime/RuntimeError.h"

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

} // namespace runtime
