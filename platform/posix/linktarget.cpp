#include "platform/posix/linktarget.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <vector>

#include "platform/posix/failures.h"

namespace velmora::posix {

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

}  // namespace velmora::posix
