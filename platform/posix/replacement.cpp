#include "platform/posix/replacement.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "platform/posix/failures.h"
#include "platform/posix/filedescriptor.h"
#include "platform/posix/removalonsignal.h"
#include "platform/posix/signalsheld.h"

namespace velmora::posix {

namespace {

/** A short name for a temporary file: the folder accepts it whenever it accepts the target's. */
std::string temporaryName() {
    static std::random_device random;
    constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = ".velmora-";
    for (int i = 0; i < 6; ++i) {
        name.push_back(kLetters[random() % (sizeof kLetters - 1)]);
    }
    return name;
}

/** Gives the new file the owner, group and permissions of the file it replaces, as allowed. */
bool takeOwnerAndMode(int fd, const struct stat &replaced) {
    if (::fchown(fd, replaced.st_uid, replaced.st_gid) != 0) {
        if (errno != EPERM) {
            return false;
        }
        // Not allowed to give the file away; the group may still be one of the user's.
        if (::fchown(fd, static_cast<uid_t>(-1), replaced.st_gid) != 0 && errno != EPERM) {
            return false;
        }
    }
    // After fchown, which clears the set-user-ID and set-group-ID bits.
    return ::fchmod(fd, replaced.st_mode & 07777) == 0;
}

/** The bytes into the new file, with the replaced file's owner and mode, flushed to disk. */
bool fill(int fd, const Replacement &to, std::string_view bytes, std::string &error) {
    if (to.replaced && !takeOwnerAndMode(fd, *to.replaced)) {
        error = describe("keep the permissions of", to.shown);
    } else if (!writeAll(fd, bytes)) {
        error = describe("write", to.shown);
    } else if (to.flush && ::fsync(fd) != 0) {
        error = describe("flush", to.shown);
    } else {
        return true;
    }
    return false;
}

/** A new file made private until it has the replaced file's mode; a new name gets the umask's. */
mode_t creationMode(const Replacement &to) { return to.replaced ? 0600 : 0666; }

bool replaceThroughNamed(const Replacement &to, std::string_view bytes, std::string &error) {
    FileDescriptor file;
    std::string temporary;
    std::optional<RemovalOnSignal> removal;
    {
        const SignalsHeld held;
        for (int attempt = 0; attempt < 100 && file.get() < 0; ++attempt) {
            temporary = temporaryName();
            file.reset(::openat(to.folder, temporary.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                creationMode(to)));
            if (file.get() < 0 && errno != EEXIST) {
                break;
            }
        }
        if (file.get() < 0) {
            error = describe("create a temporary file beside", to.shown);
            return false;
        }
        removal.emplace(to.folder, temporary);
    }
    bool ok = fill(file.get(), to, bytes, error);
    if (!file.close() && ok) {
        ok = false;
        error = describe("write", to.shown);
    }
    const SignalsHeld held;
    if (ok && ::renameat(to.folder, temporary.c_str(), to.folder, to.name.c_str()) != 0) {
        ok = false;
        error = describe("replace", to.shown);
    }
    if (!ok) {
        ::unlinkat(to.folder, temporary.c_str(), 0);
    }
    removal.reset();
    return ok;
}

/** What replacing through an unnamed file came to. */
enum class Outcome { Done, Failed, Unsupported };

Outcome replaceThroughUnnamed([[maybe_unused]] const Replacement &to,
                              [[maybe_unused]] std::string_view bytes,
                              [[maybe_unused]] std::string &error) {
#ifdef O_TMPFILE
    // The file has no name until it is whole, so a program ended while writing leaves nothing.
    FileDescriptor file(
        ::openat(to.folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, creationMode(to)));
    if (file.get() < 0) {
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) {
            return Outcome::Unsupported;
        }
        error = describe("create a temporary file beside", to.shown);
        return Outcome::Failed;
    }
    if (!fill(file.get(), to, bytes, error)) {
        return Outcome::Failed;
    }
    // A name of its own first, as linkat cannot replace a file; rename then puts it in place.
    const std::string self = "/proc/self/fd/" + std::to_string(file.get());
    const SignalsHeld held;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temporary = temporaryName();
        if (::linkat(AT_FDCWD, self.c_str(), to.folder, temporary.c_str(), AT_SYMLINK_FOLLOW) !=
            0) {
            if (errno == EEXIST) {
                continue;
            }
            if (errno == ENOENT) {
                return Outcome::Unsupported;  // no /proc
            }
            error = describe("create a temporary file beside", to.shown);
            return Outcome::Failed;
        }
        if (::renameat(to.folder, temporary.c_str(), to.folder, to.name.c_str()) != 0) {
            error = describe("replace", to.shown);
            ::unlinkat(to.folder, temporary.c_str(), 0);
            return Outcome::Failed;
        }
        return Outcome::Done;
    }
    errno = EEXIST;
    error = describe("create a temporary file beside", to.shown);
    return Outcome::Failed;
#else
    return Outcome::Unsupported;
#endif
}

}  // namespace

bool replaceInFolder(const Replacement &to, std::string_view bytes, std::string &error,
                     Temporary temporary) {
    if (temporary == Temporary::Unnamed) {
        const Outcome outcome = replaceThroughUnnamed(to, bytes, error);
        if (outcome != Outcome::Unsupported) {
            return outcome == Outcome::Done;
        }
    }
    return replaceThroughNamed(to, bytes, error);
}

}  // namespace velmora::posix
