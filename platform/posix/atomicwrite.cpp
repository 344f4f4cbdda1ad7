#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files.h"
#include "platform/posix/failures.h"
#include "platform/posix/filedescriptor.h"
#include "platform/posix/inplacewrite.h"
#include "platform/posix/linktarget.h"
#include "platform/posix/replacement.h"
#include "platform/posix/tempfiles.h"

namespace velmora {

namespace {

#ifdef O_PATH
constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

/**
 * Whether the user may not write the file. Root may write any file, so for root a file that
 * nobody may write counts as read-only, as Windows' read-only attribute holds for everyone.
 */
bool isReadOnly(const std::string &target, const struct stat &status) {
    if (::geteuid() == 0) {
        return (status.st_mode & 0222) == 0;
    }
    return ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES;
}

}  // namespace

bool writeFileAtomically(const std::filesystem::path &path, std::string_view bytes,
                         std::string &error, Durability durability, FileFailure *why,
                         Writable writable) {
    if (posix::writeFileAtomically(path, bytes, error, posix::Temporary::Unnamed, durability,
                                   writable)) {
        return true;
    }
    posix::tell(why);
    return false;
}

bool posix::writeFileAtomically(const std::filesystem::path &path, std::string_view bytes,
                                std::string &error, Temporary temporary, Durability durability,
                                Writable writable) {
    const std::string &shown = path.native();
    if (writable == Writable::AnyFile) {
        if (const std::optional<int> held = heldDescriptor(shown)) {
            return writeThrough(*held, bytes, error, shown);
        }
    }
    std::string target;
    if (!followLinks(shown, target, error)) {
        return false;
    }
    Replacement to{-1, {}, std::nullopt, shown, durability == Durability::Flushed};
    struct stat status {};
    bool exists = ::stat(target.c_str(), &status) == 0;
    if (!exists && errno == ENOENT && ::stat(shown.c_str(), &status) == 0) {
        // A link in /proc to a pipe or socket reads as no path ("pipe:[...]"), yet opens.
        target = shown;
        exists = true;
    }
    if (exists) {
        if (S_ISDIR(status.st_mode)) {
            errno = EISDIR;
            error = describe("write", shown);
            return false;
        }
        if (!S_ISREG(status.st_mode) && writable == Writable::RegularOnly) {
            error = refuse("write", shown, FileProblem::NotRegular, "not a regular file");
            return false;
        }
        if (!S_ISREG(status.st_mode)) {
            return writeInPlace(target, bytes, error, shown);
        }
        // The folder would let the file be replaced, but its owner said it is not to be written.
        if (isReadOnly(target, status)) {
            error = refuse("replace", shown, FileProblem::ReadOnly, "the file is read-only");
            return false;
        }
        to.replaced = status;
    } else if (errno != ENOENT) {
        error = describe("write", shown);
        return false;
    }
    const std::filesystem::path targetPath(target);
    to.name = targetPath.filename().native();
    if (to.name.empty() || to.name == "." || to.name == "..") {
        errno = EISDIR;
        error = describe("write", shown);
        return false;
    }
    const std::filesystem::path folderPath =
        targetPath.has_parent_path() ? targetPath.parent_path() : std::filesystem::path(".");
    const FileDescriptor folder(::open(folderPath.c_str(), kFolderFlags));
    if (folder.get() < 0) {
        error = describe("write", shown);
        return false;
    }
    to.folder = folder.get();
    return replaceInFolder(to, bytes, error, temporary);
}

}  // namespace velmora
