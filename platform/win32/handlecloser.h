#pragma once

#include <windows.h>

#include <string_view>

namespace velmora::win32 {

/** Closes a file handle when it goes out of scope. */
struct HandleCloser {
    HANDLE handle;
    ~HandleCloser() {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};

/** Writes all of bytes to file; false, GetLastError saying why, on failure. */
bool writeAll(HANDLE file, std::string_view bytes);

}  // namespace velmora::win32
