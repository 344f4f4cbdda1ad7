#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/files.h"
#include "platform/posix/failures.h"
#include "platform/posix/filedescriptor.h"

namespace velmora {

using posix::describe;
using posix::refuse;
using posix::tell;

namespace {

std::string sizeText(std::uintmax_t bytes) {
    return bytes % (1U << 20) == 0 ? std::to_string(bytes >> 20) + " MiB"
                                   : std::to_string(bytes) + " bytes";
}

}  // namespace

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
    posix::FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC | nonBlocking));
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

}  // namespace velmora
