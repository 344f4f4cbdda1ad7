#include "shellfailure.h"

// shellapi.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <optional>

namespace velmora {

namespace {

using Cause = OpenFailure::Cause;

std::optional<Cause> fromLastError(unsigned long code, bool fileThere) {
    switch (code) {
        case ERROR_NO_ASSOCIATION:
        // The registered program is no program (wine, with nothing registered, runs the page
        // itself and reports this), or it misses a library.
        case ERROR_BAD_EXE_FORMAT:
        case ERROR_BAD_FORMAT:
        case ERROR_EXE_MACHINE_TYPE_MISMATCH:
        case ERROR_DLL_NOT_FOUND:
            return Cause::NoProgram;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return fileThere ? Cause::NoProgram : Cause::FileMissing;
        case ERROR_ACCESS_DENIED:
            return Cause::NoPermission;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return Cause::NoMemory;
        case ERROR_DDE_FAIL:
            return Cause::NoAnswer;
        case ERROR_SHARING_VIOLATION:
            return Cause::InUse;
        case ERROR_CANCELLED:
            return Cause::Cancelled;
        default:
            return std::nullopt;
    }
}

// The SE_ERR_ values overlap other system codes (SE_ERR_DLLNOTFOUND is ERROR_SHARING_VIOLATION's
// 32), so they are read on their own.
std::optional<Cause> fromShellError(unsigned long code, bool fileThere) {
    switch (code) {
        case SE_ERR_NOASSOC:
        case SE_ERR_ASSOCINCOMPLETE:
        case SE_ERR_DLLNOTFOUND:
        case ERROR_BAD_FORMAT:
            return Cause::NoProgram;
        case SE_ERR_FNF:
        case SE_ERR_PNF:
            return fileThere ? Cause::NoProgram : Cause::FileMissing;
        case SE_ERR_ACCESSDENIED:
            return Cause::NoPermission;
        case SE_ERR_OOM:
            return Cause::NoMemory;
        case SE_ERR_DDETIMEOUT:
        case SE_ERR_DDEFAIL:
        case SE_ERR_DDEBUSY:
            return Cause::NoAnswer;
        case SE_ERR_SHARE:
            return Cause::InUse;
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

}  // namespace

OpenFailure::Cause shellFailureOf(unsigned long lastError, unsigned long shellError,
                                  bool fileThere) {
    if (const std::optional<Cause> failure = fromLastError(lastError, fileThere)) {
        return *failure;
    }
    return fromShellError(shellError, fileThere).value_or(Cause::Other);
}

std::string readableSystemText(std::string_view systemText) {
    return holdsInsert(systemText) ? std::string() : std::string(systemText);
}

}  // namespace velmora
