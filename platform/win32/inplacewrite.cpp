#include "platform/win32/inplacewrite.h"

#include <windows.h>

#include "platform/win32/failures.h"
#include "platform/win32/handlecloser.h"

namespace velmora::win32 {

bool isDevice(const std::filesystem::path &path) {
    HandleCloser file{CreateFileW(path.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
    return file.handle != INVALID_HANDLE_VALUE && GetFileType(file.handle) != FILE_TYPE_DISK;
}

bool writeInPlace(const std::filesystem::path &path, std::string_view bytes, std::string &error) {
    HandleCloser file{CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.handle == INVALID_HANDLE_VALUE || !writeAll(file.handle, bytes)) {
        error = describe("write", path);
        return false;
    }
    return true;
}

}  // namespace velmora::win32
