#include "platform/posix/failures.h"

#include <cerrno>
#include <cstring>

namespace velmora::posix {

namespace {

thread_local FileFailure t_failure;

}  // namespace

FileProblem problemOf(int code) {
    switch (code) {
        case ENOENT:
            return FileProblem::NotFound;
        case EACCES:
        case EPERM:
            return FileProblem::NoPermission;
        case ENOSPC:
        case EDQUOT:
            return FileProblem::DiskFull;
        case EROFS:
            return FileProblem::ReadOnly;
        case EISDIR:
            return FileProblem::IsFolder;
        case EFBIG:
            return FileProblem::TooLarge;
        default:
            return FileProblem::Other;
    }
}

std::string describe(const std::string &what, const std::string &path) {
    const int code = errno;
    t_failure = {problemOf(code), std::strerror(code)};
    return "cannot " + what + " " + path + ": " + t_failure.systemText;
}

std::string refuse(const std::string &what, const std::string &path, FileProblem problem,
                   const std::string &reason) {
    t_failure = {problem, reason};
    return "cannot " + what + " " + path + ": " + reason;
}

void tell(FileFailure *why) {
    if (why != nullptr) {
        *why = t_failure;
    }
}

}  // namespace velmora::posix
