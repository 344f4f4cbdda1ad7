#include "platform/posix/inplacewrite.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <array>
#include <charconv>
#include <utility>

#include "platform/posix/failures.h"
#include "platform/posix/filedescriptor.h"

namespace velmora::posix {

namespace {

/** The descriptor number a name such as /dev/fd/3 gives, if it is one. */
std::optional<int> namedDescriptor(std::string_view path) {
    constexpr std::array<std::pair<std::string_view, int>, 3> kStandard = {
        {{"/dev/stdin", 0}, {"/dev/stdout", 1}, {"/dev/stderr", 2}}};
    for (const auto &[name, fd] : kStandard) {
        if (path == name) {
            return fd;
        }
    }
    for (const std::string_view folder : {"/dev/fd/", "/proc/self/fd/"}) {
        if (!path.starts_with(folder)) {
            continue;
        }
        const std::string_view number = path.substr(folder.size());
        int fd = -1;
        const auto [end, problem] =
            std::from_chars(number.data(), number.data() + number.size(), fd);
        if (!number.empty() && number[0] != '-' && problem == std::errc() &&
            end == number.data() + number.size()) {
            return fd;
        }
    }
    return std::nullopt;
}

}  // namespace

bool writeInPlace(const std::string &target, std::string_view bytes, std::string &error,
                  const std::string &shown) {
    FileDescriptor file(::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0 || !writeAll(file.get(), bytes) || !file.close()) {
        error = describe("write", shown);
        return false;
    }
    return true;
}

std::optional<int> heldDescriptor(const std::string &path) {
    if (const std::optional<int> named = namedDescriptor(path)) {
        return named;
    }
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0) {
        return std::nullopt;
    }
    for (int fd = 0; fd <= 2; ++fd) {
        // Standard input is mostly open for reading only: such a file is replaced as any other.
        const int flags = ::fcntl(fd, F_GETFL);
        struct stat held {};
        if (flags >= 0 && (flags & O_ACCMODE) != O_RDONLY && ::fstat(fd, &held) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            return fd;
        }
    }
    return std::nullopt;
}

bool writeThrough(int fd, std::string_view bytes, std::string &error, const std::string &shown) {
    FileDescriptor file(::fcntl(fd, F_DUPFD_CLOEXEC, 3));
    if (file.get() < 0 || !writeAll(file.get(), bytes) || !file.close()) {
        error = describe("write", shown);
        return false;
    }
    return true;
}

}  // namespace velmora::posix
