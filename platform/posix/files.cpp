#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace velmora {

namespace {

std::string describe(const std::string &what, const std::string &path) {
    return "cannot " + what + " " + path + ": " + std::strerror(errno);
}

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

}  // namespace

std::filesystem::path pathFromUtf8(std::string_view text) { return std::string(text); }

std::string utf8FromPath(const std::filesystem::path &path) { return path.native(); }

bool writeFileAtomically(const std::filesystem::path &filePath, std::string_view bytes,
                         std::string &error) {
    const std::string &path = filePath.native();
    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        error = describe("create a temporary file beside", path);
        return false;
    }
    const std::string tempPath(name.data());

    // mkstemp makes the file private; give it the mode a newly created file would have.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    bool ok = ::fchmod(fd, 0666 & ~mask) == 0;
    if (!ok) {
        error = describe("set the permissions of", tempPath);
    } else if (!(ok = writeAll(fd, bytes))) {
        error = describe("write", tempPath);
    } else if (!(ok = ::fsync(fd) == 0)) {
        error = describe("flush", tempPath);
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = describe("close", tempPath);
    }
    if (ok && ::rename(tempPath.c_str(), path.c_str()) != 0) {
        ok = false;
        error = describe("replace", path);
    }
    if (!ok) {
        ::unlink(tempPath.c_str());
    }
    return ok;
}

bool readFile(const std::filesystem::path &filePath, std::string &bytes, std::string &error) {
    const std::string &path = filePath.native();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = describe("read", path);
        return false;
    }
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            error = describe("read", path);
            ::close(fd);
            return false;
        }
        if (got == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return true;
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

}  // namespace velmora
