#include "platform/filehead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace velmora {

namespace {

std::optional<std::string> refused(FileFailure *why, FileProblem problem, int code = 0) {
    if (why != nullptr) {
        *why = {problem, code != 0 ? std::strerror(code) : std::string()};
    }
    return std::nullopt;
}

FileProblem problemOf(int code) {
    switch (code) {
        case ENOENT:
        case ENOTDIR:
            return FileProblem::NotFound;
        case EACCES:
        case EPERM:
            return FileProblem::NoPermission;
        default:
            return FileProblem::Other;
    }
}

/** Closes a file descriptor when it goes out of scope. */
struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
};

}  // namespace

std::optional<std::string> readFileHead(const std::filesystem::path &path, std::size_t count,
                                        FileFailure *why) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return refused(why, problemOf(errno), errno);
    }
    if (S_ISDIR(status.st_mode)) {
        return refused(why, FileProblem::IsFolder);
    }
    if (!S_ISREG(status.st_mode)) {
        return refused(why, FileProblem::NotRegular);
    }
    // Non-blocking all the same: the name may have become a FIFO since the stat.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return refused(why, problemOf(errno), errno);
    }
    const Closer closer{fd};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        return refused(why, FileProblem::NotRegular);
    }
    std::string head(count, '\0');
    std::size_t got = 0;
    while (got < count) {
        const ssize_t part = ::read(fd, head.data() + got, count - got);
        if (part < 0 && errno == EINTR) {
            continue;
        }
        if (part < 0) {
            return refused(why, problemOf(errno), errno);
        }
        if (part == 0) {
            break;
        }
        got += static_cast<std::size_t>(part);
    }
    head.resize(got);
    return head;
}

}  // namespace velmora
