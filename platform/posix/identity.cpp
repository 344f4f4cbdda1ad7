#include <sys/stat.h>

#include <cerrno>

#include "platform/files.h"
#include "platform/posix/linktarget.h"

namespace velmora {

std::optional<FileIdentity> fileIdentity(const std::filesystem::path &path) {
    std::string target, error;
    if (!posix::followLinks(path.native(), target, error)) {
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

}  // namespace velmora
