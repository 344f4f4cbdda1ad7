#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/posix/failures.h"
#include "platform/posix/replacement.h"

namespace velmora {

using posix::describe;
using posix::refuse;
using posix::tell;

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
    const posix::Replacement to{static_cast<int>(m_handle), name.native(), std::nullopt, shown,
                                false};
    if (posix::replaceInFolder(to, bytes, error, posix::Temporary::Unnamed)) {
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
