#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "platform/posix/tempfiles.h"

namespace velmora {

namespace {

#ifdef O_PATH
constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

/** The signals whose default action ends the program, which a write must not leave a file to. */
constexpr std::array kEndingSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

/** The cause of the last failure described on this thread, handed to callers that ask. */
thread_local FileFailure t_failure;

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

/** A failure that is no error number's: problem, and the English words for it. */
std::string refuse(const std::string &what, const std::string &path, FileProblem problem,
                   const std::string &reason) {
    t_failure = {problem, reason};
    return "cannot " + what + " " + path + ": " + reason;
}

/** Hands the cause of the failure just described to a caller that asked for it. */
void tell(FileFailure *why) {
    if (why != nullptr) {
        *why = t_failure;
    }
}

/** Closes a file descriptor when it goes out of scope. */
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    int get() const { return m_fd; }

    void reset(int fd) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = fd;
    }

    /** Closes the descriptor now; false, with errno set, when close reports a failure. */
    bool close() { return ::close(std::exchange(m_fd, -1)) == 0; }

private:
    int m_fd;
};

/** Holds back the ending signals while alive, so that the steps in its scope are done whole. */
class SignalsHeld {
public:
    SignalsHeld() {
        sigset_t set;
        sigemptyset(&set);
        for (const int signal : kEndingSignals) {
            sigaddset(&set, signal);
        }
        pthread_sigmask(SIG_BLOCK, &set, &m_previous);
    }
    ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }
    SignalsHeld(const SignalsHeld &) = delete;
    SignalsHeld &operator=(const SignalsHeld &) = delete;

private:
    sigset_t m_previous;
};

// The named temporary file the signal handler removes. Set and cleared only while the ending
// signals are held, so the handler never sees them half written.
int g_removeFolder = -1;
char g_removeName[32];
std::atomic_flag g_removalTaken;

extern "C" void removeTemporaryAndEnd(int signal) {
    if (g_removeFolder >= 0) {
        ::unlinkat(g_removeFolder, g_removeName, 0);
    }
    // SA_RESETHAND has put the default action back, so the program ends once this returns.
    ::raise(signal);
}

/**
 * Removes a named temporary file if an ending signal arrives while alive. Takes over only the
 * signals left at their default action: a program that handles them ends in its own time, and
 * the write then removes its file itself. Made and destroyed while the signals are held.
 */
class RemovalOnSignal {
public:
    RemovalOnSignal(int folder, const std::string &name) {
        if (name.size() >= sizeof g_removeName || g_removalTaken.test_and_set()) {
            return;  // another thread's write has the handler; this file is removed on failure
        }
        m_active = true;
        g_removeFolder = folder;
        std::memcpy(g_removeName, name.c_str(), name.size() + 1);
        struct sigaction action {};
        action.sa_handler = removeTemporaryAndEnd;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
            struct sigaction current {};
            if (sigaction(kEndingSignals[i], nullptr, &current) == 0 &&
                !(current.sa_flags & SA_SIGINFO) && current.sa_handler == SIG_DFL) {
                m_taken[i] = sigaction(kEndingSignals[i], &action, &m_previous[i]) == 0;
            }
        }
    }
    ~RemovalOnSignal() {
        if (!m_active) {
            return;
        }
        for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
            if (m_taken[i]) {
                sigaction(kEndingSignals[i], &m_previous[i], nullptr);
            }
        }
        g_removeFolder = -1;
        g_removalTaken.clear();
    }
    RemovalOnSignal(const RemovalOnSignal &) = delete;
    RemovalOnSignal &operator=(const RemovalOnSignal &) = delete;

private:
    bool m_active = false;
    std::array<bool, kEndingSignals.size()> m_taken{};
    std::array<struct sigaction, kEndingSignals.size()> m_previous{};
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

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

/**
 * The path a write to path lands on: path with the symbolic links of its last part followed,
 * as open() follows them. A name not yet taken, or a link to one, is returned as it is.
 */
bool followLinks(const std::string &path, std::string &target, std::string &error) {
    target = path;
    for (int hops = 0;; ++hops) {
        struct stat status {};
        if (::lstat(target.c_str(), &status) != 0) {
            if (errno == ENOENT) {
                return true;
            }
            error = describe("write", path);
            return false;
        }
        if (!S_ISLNK(status.st_mode)) {
            return true;
        }
        if (hops == 40) {
            errno = ELOOP;
            error = describe("write", path);
            return false;
        }
        std::vector<char> link(PATH_MAX);
        const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<std::size_t>(length) == link.size()) {
            if (length >= 0) {
                errno = ENAMETOOLONG;
            }
            error = describe("write", path);
            return false;
        }
        const std::filesystem::path next(
            std::string(link.data(), static_cast<std::size_t>(length)));
        target = (std::filesystem::path(target).parent_path() / next).native();
    }
}

/** Devices, FIFOs and the like take the bytes as they are; there is nothing to replace. */
bool writeInPlace(const std::string &target, std::string_view bytes, std::string &error,
                  const std::string &shown) {
    FileDescriptor file(::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0 || !writeAll(file.get(), bytes) || !file.close()) {
        error = describe("write", shown);
        return false;
    }
    return true;
}

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

/** Where a regular file is replaced, and what it was. */
struct Replacement {
    int folder;
    std::string name;
    std::optional<struct stat> replaced;
    std::string shown;  ///< the path as given, for messages
    bool flush = true;  ///< whether the bytes must reach the disk before the swap
};

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

std::string sizeText(std::uintmax_t bytes) {
    return bytes % (1U << 20) == 0 ? std::to_string(bytes >> 20) + " MiB"
                                   : std::to_string(bytes) + " bytes";
}

}  // namespace

std::filesystem::path pathFromUtf8(std::string_view text) { return std::string(text); }

std::string utf8FromPath(const std::filesystem::path &path) { return path.native(); }

bool writeFileAtomically(const std::filesystem::path &path, std::string_view bytes,
                         std::string &error, Durability durability, FileFailure *why) {
    if (posix::writeFileAtomically(path, bytes, error, posix::Temporary::Unnamed, durability)) {
        return true;
    }
    tell(why);
    return false;
}

bool posix::writeFileAtomically(const std::filesystem::path &path, std::string_view bytes,
                                std::string &error, Temporary temporary, Durability durability) {
    const std::string &shown = path.native();
    std::string target;
    if (!followLinks(shown, target, error)) {
        return false;
    }
    Replacement to{-1, {}, std::nullopt, shown, durability == Durability::Flushed};
    struct stat status {};
    if (::stat(target.c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode)) {
            errno = EISDIR;
            error = describe("write", shown);
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
    if (temporary == Temporary::Unnamed) {
        const Outcome outcome = replaceThroughUnnamed(to, bytes, error);
        if (outcome != Outcome::Unsupported) {
            return outcome == Outcome::Done;
        }
    }
    return replaceThroughNamed(to, bytes, error);
}

ReadResult readFile(const std::filesystem::path &filePath, std::string &bytes, std::string &error,
                    std::uintmax_t maxBytes, Readable readable, FileFailure *why) {
    const std::string &path = filePath.native();
    bytes.clear();
    const auto failed = [&](std::string message) {
        error = std::move(message);
        tell(why);
        return ReadResult::Failed;
    };
    // Opening a FIFO for reading waits for a writer, unless it is opened non-blocking.
    const int nonBlocking = readable == Readable::RegularOnly ? O_NONBLOCK : 0;
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC | nonBlocking));
    if (file.get() < 0) {
        return failed(describe("read", path));
    }
    const auto tooLarge = [&] {
        bytes = {};
        error =
            refuse("read", path, FileProblem::TooLarge, "it holds more than " + sizeText(maxBytes));
        tell(why);
        return ReadResult::TooLarge;
    };
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        return failed(describe("read", path));
    }
    if (readable == Readable::RegularOnly && S_ISDIR(status.st_mode)) {
        errno = EISDIR;
        return failed(describe("read", path));
    }
    if (readable == Readable::RegularOnly && !S_ISREG(status.st_mode)) {
        return failed(refuse("read", path, FileProblem::NotRegular, "not a regular file"));
    }
    if (S_ISREG(status.st_mode)) {
        if (static_cast<std::uintmax_t>(status.st_size) > maxBytes) {
            return tooLarge();
        }
        bytes.reserve(static_cast<std::size_t>(status.st_size));
    }
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return failed(describe("read", path));
        }
        if (got == 0) {
            return ReadResult::Read;
        }
        const auto size = static_cast<std::size_t>(got);
        if (bytes.size() + size > maxBytes) {
            return tooLarge();  // also ends a device without end, such as /dev/zero
        }
        if (bytes.size() + size > bytes.capacity()) {
            // Doubling, but never past the limit: a string just under it may not take twice that.
            bytes.reserve(static_cast<std::size_t>(std::min<std::uintmax_t>(
                maxBytes, std::max(bytes.capacity() * 2, bytes.size() + size))));
        }
        bytes.append(buffer, size);
    }
}

std::optional<FileIdentity> fileIdentity(const std::filesystem::path &path) {
    std::string target, error;
    if (!followLinks(path.native(), target, error)) {
        return std::nullopt;
    }
    struct stat status {};
    if (::stat(target.c_str(), &status) == 0) {
        return FileIdentity{static_cast<std::uint64_t>(status.st_dev),
                            static_cast<std::uint64_t>(status.st_ino),
                            {}};
    }
    if (errno != ENOENT) {
        return std::nullopt;
    }
    const std::filesystem::path targetPath(target);
    const std::filesystem::path folder =
        targetPath.has_parent_path() ? targetPath.parent_path() : std::filesystem::path(".");
    if (::stat(folder.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev),
                        static_cast<std::uint64_t>(status.st_ino), targetPath.filename().native()};
}

std::optional<std::filesystem::path> makePrivateFolder(std::string &error) {
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp == '/' ? tmp : "/tmp") + "/velmora-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    // mkdtemp makes the folder with mode 0700 under a name it picks at random.
    if (::mkdtemp(name.data()) == nullptr) {
        error = describe("make a private folder in", pattern.substr(0, pattern.rfind('/')));
        return std::nullopt;
    }
    return std::filesystem::path(name.data());
}

std::unique_ptr<PrivateFolder> PrivateFolder::make(std::string &error, FileFailure *why) {
    std::optional<std::filesystem::path> path = makePrivateFolder(error);
    if (!path) {
        tell(why);
        return nullptr;
    }
    const int folder = ::open(path->c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0) {
        error = describe("open", path->native());
        tell(why);
        ::rmdir(path->c_str());
        return nullptr;
    }
    return std::unique_ptr<PrivateFolder>(new PrivateFolder(std::move(*path), folder));
}

PrivateFolder::PrivateFolder(std::filesystem::path path, std::intptr_t handle)
    : m_path(std::move(path)), m_handle(handle) {}

PrivateFolder::~PrivateFolder() {
    if (m_handle >= 0) {
        ::close(static_cast<int>(m_handle));
    }
}

bool PrivateFolder::intact() const {
    struct stat held {
    }, named{};
    // A removed folder has no links left; one made again under the name is another file.
    return m_handle >= 0 && ::fstat(static_cast<int>(m_handle), &held) == 0 && held.st_nlink > 0 &&
           held.st_uid == ::geteuid() && (held.st_mode & 07777) == 0700 &&
           ::lstat(m_path.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
           named.st_ino == held.st_ino;
}

bool PrivateFolder::write(const std::filesystem::path &name, std::string_view bytes,
                          std::string &error, FileFailure *why) {
    const std::string shown = (m_path / name).native();
    if (!intact()) {
        error = refuse("write", shown, FileProblem::NotFound,
                       "the private folder is gone or no longer private");
        tell(why);
        return false;
    }
    // Written through the held folder, and put in place by rename, which replaces a link of
    // that name rather than following it.
    Replacement to{static_cast<int>(m_handle), name.native(), std::nullopt, shown, false};
    const Outcome outcome = replaceThroughUnnamed(to, bytes, error);
    if (outcome == Outcome::Done ||
        (outcome == Outcome::Unsupported && replaceThroughNamed(to, bytes, error))) {
        return true;
    }
    tell(why);
    return false;
}

void PrivateFolder::remove() {
    if (m_handle < 0) {
        return;
    }
    if (intact()) {
        const int listed =
            ::openat(static_cast<int>(m_handle), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (DIR *entries = listed >= 0 ? ::fdopendir(listed) : nullptr) {
            while (const dirent *entry = ::readdir(entries)) {
                const std::string_view entryName = entry->d_name;
                if (entryName != "." && entryName != "..") {
                    ::unlinkat(static_cast<int>(m_handle), entry->d_name, 0);
                }
            }
            ::closedir(entries);
        } else if (listed >= 0) {
            ::close(listed);
        }
        ::rmdir(m_path.c_str());
    }
    ::close(static_cast<int>(std::exchange(m_handle, -1)));
}

}  // namespace velmora
