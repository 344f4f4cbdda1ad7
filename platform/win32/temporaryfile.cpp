#include "platform/win32/temporaryfile.h"

#include <cwchar>
#include <random>
#include <utility>

namespace velmora::win32 {

TemporaryFile::~TemporaryFile() {
    close();
    if (!m_kept && !m_path.empty()) {
        DeleteFileW(m_path.c_str());
    }
}

bool TemporaryFile::create(const std::filesystem::path &folder) {
    // GetTempFileNameW would do, but takes no folder longer than MAX_PATH - 14.
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t name[16];
        swprintf(name, 16, L"~vel%06x.tmp", random() & 0xFFFFFFU);
        const std::filesystem::path path = folder / name;
        m_handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (m_handle != INVALID_HANDLE_VALUE) {
            m_path = path;
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) {
            return false;
        }
    }
    return false;
}

void TemporaryFile::close() {
    if (m_handle != INVALID_HANDLE_VALUE) {
        CloseHandle(std::exchange(m_handle, INVALID_HANDLE_VALUE));
    }
}

}  // namespace velmora::win32
