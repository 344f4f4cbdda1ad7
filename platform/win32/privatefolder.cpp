#include <windows.h>

#include <cwchar>
#include <random>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/win32/failures.h"
#include "platform/win32/handlecloser.h"
#include "platform/win32/identity.h"
#include "platform/win32/temporaryfile.h"

namespace velmora {

using win32::describe;
using win32::refuse;
using win32::tell;

std::optional<std::filesystem::path> makePrivateFolder(std::string &error) {
    std::vector<wchar_t> base(MAX_PATH + 2);
    const DWORD length = GetTempPathW(static_cast<DWORD>(base.size()), base.data());
    if (length == 0 || length > base.size()) {
        error = "cannot find the temporary folder";
        return std::nullopt;
    }
    // The temporary folder is the user's own on Windows; the random name keeps it unguessable.
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t name[32];
        swprintf(name, 32, L"velmora-%08x%08x", random(), random());
        std::filesystem::path folder = std::filesystem::path(base.data()) / name;
        if (CreateDirectoryW(folder.c_str(), nullptr)) {
            return folder;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            error = describe("make a private folder in", base.data());
            return std::nullopt;
        }
    }
    error = "cannot make a private folder in " + utf8FromPath(base.data());
    return std::nullopt;
}

std::unique_ptr<PrivateFolder> PrivateFolder::make(std::string &error, FileFailure *why) {
    std::optional<std::filesystem::path> path = makePrivateFolder(error);
    if (!path) {
        tell(why);
        return nullptr;
    }
    // Held without FILE_SHARE_DELETE: while the window has it, nobody can remove or rename it.
    const HANDLE folder = CreateFileW(
        path->c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (folder == INVALID_HANDLE_VALUE) {
        error = describe("open", *path);
        tell(why);
        RemoveDirectoryW(path->c_str());
        return nullptr;
    }
    return std::unique_ptr<PrivateFolder>(
        new PrivateFolder(std::move(*path), reinterpret_cast<std::intptr_t>(folder)));
}

PrivateFolder::PrivateFolder(std::filesystem::path path, std::intptr_t handle)
    : m_path(std::move(path)), m_handle(handle) {}

PrivateFolder::~PrivateFolder() {
    if (m_handle != -1) {
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    }
}

bool PrivateFolder::intact() const {
    if (m_handle == -1) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION held{};
    const DWORD attributes = GetFileAttributesW(m_path.c_str());
    const std::optional<FileIdentity> named = win32::identityOf(m_path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 && named &&
           GetFileInformationByHandle(reinterpret_cast<HANDLE>(m_handle), &held) &&
           *named == FileIdentity{held.dwVolumeSerialNumber,
                                  (std::uint64_t{held.nFileIndexHigh} << 32) | held.nFileIndexLow,
                                  {}};
}

bool PrivateFolder::write(const std::filesystem::path &name, std::string_view bytes,
                          std::string &error, FileFailure *why) {
    const std::filesystem::path file = m_path / name;
    if (!intact()) {
        error = refuse("write", file, FileProblem::NotFound, ERROR_PATH_NOT_FOUND);
        tell(why);
        return false;
    }
    win32::TemporaryFile temporary;
    if (!temporary.create(m_path)) {
        error = describe("create a temporary file beside", file);
    } else if (!win32::writeAll(temporary.handle(), bytes)) {
        error = describe("write", file);
    } else {
        temporary.close();
        // Replaces whatever has the name, a link included, rather than writing through it.
        if (MoveFileExW(temporary.path().c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            temporary.keep();
            return true;
        }
        error = describe("replace", file);
    }
    tell(why);
    return false;
}

void PrivateFolder::remove() {
    if (m_handle == -1) {
        return;
    }
    const bool ours = intact();
    CloseHandle(reinterpret_cast<HANDLE>(std::exchange(m_handle, -1)));
    if (ours) {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
}

}  // namespace velmora
