#include "shellfailure.h"

// shellapi.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <optional>

#include "core/utf.h"
#include "ui/messages.h"

namespace velmora {

namespace {

std::optional<ShellFailure> fromLastError(unsigned long code, bool fileThere) {
    switch (code) {
        case ERROR_NO_ASSOCIATION:
        // The registered program is no program (wine, with nothing registered, runs the page
        // itself and reports this), or it misses a library.
        case ERROR_BAD_EXE_FORMAT:
        case ERROR_BAD_FORMAT:
        case ERROR_EXE_MACHINE_TYPE_MISMATCH:
        case ERROR_DLL_NOT_FOUND:
            return ShellFailure::NoProgram;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return fileThere ? ShellFailure::NoProgram : ShellFailure::FileMissing;
        case ERROR_ACCESS_DENIED:
            return ShellFailure::NoPermission;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ShellFailure::NoMemory;
        case ERROR_DDE_FAIL:
            return ShellFailure::NoAnswer;
        case ERROR_SHARING_VIOLATION:
            return ShellFailure::InUse;
        case ERROR_CANCELLED:
            return ShellFailure::Cancelled;
        default:
            return std::nullopt;
    }
}

// The SE_ERR_ values overlap other system codes (SE_ERR_DLLNOTFOUND is ERROR_SHARING_VIOLATION's
// 32), so they are read on their own.
std::optional<ShellFailure> fromShellError(unsigned long code, bool fileThere) {
    switch (code) {
        case SE_ERR_NOASSOC:
        case SE_ERR_ASSOCINCOMPLETE:
        case SE_ERR_DLLNOTFOUND:
        case ERROR_BAD_FORMAT:
            return ShellFailure::NoProgram;
        case SE_ERR_FNF:
        case SE_ERR_PNF:
            return fileThere ? ShellFailure::NoProgram : ShellFailure::FileMissing;
        case SE_ERR_ACCESSDENIED:
            return ShellFailure::NoPermission;
        case SE_ERR_OOM:
            return ShellFailure::NoMemory;
        case SE_ERR_DDETIMEOUT:
        case SE_ERR_DDEFAIL:
        case SE_ERR_DDEBUSY:
            return ShellFailure::NoAnswer;
        case SE_ERR_SHARE:
            return ShellFailure::InUse;
        default:
            return std::nullopt;
    }
}

/** Whether text still holds an insert such as "%1" or "%2!s!", which FormatMessage leaves as it
 *  is when asked to ignore inserts. */
bool holdsInsert(std::string_view text) {
    for (std::size_t at = text.find('%'); at != std::string_view::npos && at + 1 < text.size();
         at = text.find('%', at + 1)) {
        if (text[at + 1] >= '1' && text[at + 1] <= '9') {
            return true;
        }
    }
    return false;
}

std::u16string_view reasonOf(ShellFailure failure) {
    switch (failure) {
        case ShellFailure::NoProgram:
            return {};
        case ShellFailure::FileMissing:
            return messages::kReasonNotFound;
        case ShellFailure::NoPermission:
            return messages::kReasonOpenDenied;
        case ShellFailure::NoMemory:
            return messages::kReasonNoMemory;
        case ShellFailure::NoAnswer:
            return messages::kReasonNoAnswer;
        case ShellFailure::InUse:
            return messages::kReasonInUse;
        case ShellFailure::Cancelled:
            return messages::kReasonCancelled;
        case ShellFailure::Other:
            break;
    }
    return messages::kReasonOpenFailed;
}

}  // namespace

ShellFailure shellFailureOf(unsigned long lastError, unsigned long shellError, bool fileThere) {
    if (const std::optional<ShellFailure> failure = fromLastError(lastError, fileThere)) {
        return *failure;
    }
    return fromShellError(shellError, fileThere).value_or(ShellFailure::Other);
}

std::string shellFailureReason(ShellFailure failure, unsigned long code,
                               std::string_view systemText) {
    std::string reason = utf8FromUtf16(reasonOf(failure));
    if (failure != ShellFailure::Other) {
        return reason;
    }
    reason += std::to_string(code);
    if (!systemText.empty() && !holdsInsert(systemText)) {
        reason += utf8FromUtf16(messages::kReasonCodeWords);
        reason += systemText;
    }
    return reason;
}

}  // namespace velmora
