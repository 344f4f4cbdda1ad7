#include "platform/win32/failures.h"

#include "platform/win32/systemmessage.h"

namespace velmora::win32 {

namespace {

thread_local FileFailure t_failure;

}  // namespace

FileProblem problemOf(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return FileProblem::NotFound;
        case ERROR_ACCESS_DENIED:
            return FileProblem::NoPermission;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return FileProblem::DiskFull;
        case ERROR_WRITE_PROTECT:
            return FileProblem::ReadOnly;
        case ERROR_DIRECTORY:
            return FileProblem::IsFolder;
        case ERROR_FILE_TOO_LARGE:
            return FileProblem::TooLarge;
        default:
            return FileProblem::Other;
    }
}

std::string describe(const std::string &what, const std::filesystem::path &path) {
    const DWORD code = GetLastError();
    t_failure = {problemOf(code), systemMessage(code)};
    return "cannot " + what + " " + utf8FromPath(path) + ": " + t_failure.systemText;
}

std::string refuse(const std::string &what, const std::filesystem::path &path, FileProblem problem,
                   DWORD code) {
    SetLastError(code);
    std::string message = describe(what, path);
    t_failure.problem = problem;
    return message;
}

std::string refuse(const std::string &what, const std::filesystem::path &path,
                   const FileFailure &cause, const std::string &reason) {
    t_failure = cause;
    return "cannot " + what + " " + utf8FromPath(path) + ": " + reason;
}

std::string refuseDeviceName(const std::string &what, const std::filesystem::path &path) {
    const std::string reason =
        "Windows reserves this name for a device (as NUL, CON, COM1), so no file would be ";
    return refuse(what, path, {FileProblem::ReservedName, "reserved device name"},
                  reason + (what == "read" ? "read" : "written"));
}

void tell(FileFailure *why) {
    if (why != nullptr) {
        *why = t_failure;
    }
}

}  // namespace velmora::win32
