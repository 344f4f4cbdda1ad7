#include "platform/win32/identity.h"

#include <windows.h>

#include "platform/win32/handlecloser.h"

namespace velmora {

std::optional<FileIdentity> win32::identityOf(const std::filesystem::path &path) {
    HandleCloser file{CreateFileW(path.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
    BY_HANDLE_FILE_INFORMATION info{};
    if (file.handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(file.handle, &info)) {
        return std::nullopt;
    }
    return FileIdentity{info.dwVolumeSerialNumber,
                        (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow,
                        {}};
}

std::optional<FileIdentity> fileIdentity(const std::filesystem::path &path) {
    // A device is never opened just to tell what it is: opening a serial port can wait.
    if (isWindowsDeviceName(utf8FromPath(path.filename()))) {
        return std::nullopt;
    }
    // CreateFileW follows symbolic links, as writing does.
    if (std::optional<FileIdentity> existing = win32::identityOf(path)) {
        return existing;
    }
    if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        return std::nullopt;
    }
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : L".";
    std::optional<FileIdentity> identity = win32::identityOf(folder);
    if (identity) {
        // Names that differ only in case are one name on Windows.
        std::wstring name = path.filename().native();
        CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
        identity->name = utf8FromPath(name);
    }
    return identity;
}

}  // namespace velmora
