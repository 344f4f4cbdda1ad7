#pragma once

#include <windows.h>

#include <filesystem>

namespace velmora::win32 {

/** A temporary file beside the target: closed, and deleted unless kept, when out of scope. */
class TemporaryFile {
public:
    TemporaryFile() = default;
    /** Closes the file, and deletes it unless kept. */
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    /** Makes the file under a new short name in folder; false, GetLastError saying why, if not. */
    bool create(const std::filesystem::path &folder);

    /** The open file, or INVALID_HANDLE_VALUE. */
    HANDLE handle() const { return m_handle; }
    /** Where the file is; empty until made. */
    const std::filesystem::path &path() const { return m_path; }

    /** Closes the file, which stays until destruction. */
    void close();

    /** Leaves the file in place at destruction: it has been moved to the target's name. */
    void keep() { m_kept = true; }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    std::filesystem::path m_path;
    bool m_kept = false;
};

}  // namespace velmora::win32
