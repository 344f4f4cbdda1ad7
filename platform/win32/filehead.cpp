#include "platform/filehead.h"

#include <windows.h>

#include "platform/win32/systemmessage.h"

namespace velmora {

namespace {

std::optional<std::string> refused(FileFailure *why, FileProblem problem, DWORD code = 0) {
    if (why != nullptr) {
        *why = {problem, code != 0 ? systemMessage(code) : std::string()};
    }
    return std::nullopt;
}

FileProblem problemOf(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return FileProblem::NotFound;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return FileProblem::NoPermission;
        default:
            return FileProblem::Other;
    }
}

}  // namespace

std::optional<std::string> readFileHead(const std::filesystem::path &path, std::size_t count,
                                        FileFailure *why) {
    // Opened, such a name gives the device, which could keep the read waiting.
    if (isWindowsDeviceName(utf8FromPath(path.filename()))) {
        return refused(why, FileProblem::ReservedName);
    }
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = GetLastError();
        return refused(why, problemOf(code), code);
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return refused(why, FileProblem::IsFolder);
    }
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        return refused(why, problemOf(code), code);
    }
    std::optional<std::string> head;
    // A pipe or device could keep a read waiting for ever.
    if (GetFileType(file) != FILE_TYPE_DISK) {
        refused(why, FileProblem::NotRegular);
    } else {
        head.emplace(count, '\0');
        DWORD got = 0;
        if (ReadFile(file, head->data(), static_cast<DWORD>(count), &got, nullptr)) {
            head->resize(got);
        } else {
            const DWORD code = GetLastError();
            head.reset();
            refused(why, problemOf(code), code);
        }
    }
    CloseHandle(file);
    return head;
}

}  // namespace velmora
