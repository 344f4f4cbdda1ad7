#include <windows.h>

#include <vector>

#include "platform/files.h"
#include "platform/win32/failures.h"
#include "platform/win32/handlecloser.h"

namespace velmora {

using win32::describe;
using win32::refuse;
using win32::tell;

namespace {

std::string sizeText(std::uintmax_t bytes) {
    return bytes % (1U << 20) == 0 ? std::to_string(bytes >> 20) + " MiB"
                                   : std::to_string(bytes) + " bytes";
}

}  // namespace

ReadResult readFile(const std::filesystem::path &path, std::string &bytes, std::string &error,
                    std::uintmax_t maxBytes, Readable readable, FileFailure *why) {
    bytes.clear();
    const auto failed = [&](std::string message) {
        error = std::move(message);
        tell(why);
        return ReadResult::Failed;
    };
    // Opened, such a name gives the device (a serial port can keep the read waiting for ever).
    if (isWindowsDeviceName(utf8FromPath(path.filename()))) {
        return failed(win32::refuseDeviceName("read", path));
    }
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return failed(refuse("read", path, FileProblem::IsFolder, ERROR_DIRECTORY));
    }
    win32::HandleCloser file{CreateFileW(path.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.handle == INVALID_HANDLE_VALUE) {
        return failed(describe("read", path));
    }
    // A pipe or device could keep a read waiting for ever.
    if (readable == Readable::RegularOnly && GetFileType(file.handle) != FILE_TYPE_DISK) {
        return failed(refuse("read", path, {FileProblem::NotRegular, "not a regular file"},
                             "not a regular file"));
    }
    const auto tooLarge = [&] {
        bytes = {};
        error = refuse("read", path, {FileProblem::TooLarge, "too large"},
                       "it holds more than " + sizeText(maxBytes));
        tell(why);
        return ReadResult::TooLarge;
    };
    LARGE_INTEGER size{};
    if (GetFileType(file.handle) == FILE_TYPE_DISK && GetFileSizeEx(file.handle, &size)) {
        if (static_cast<std::uintmax_t>(size.QuadPart) > maxBytes) {
            return tooLarge();
        }
        bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    }
    std::vector<char> buffer(1 << 16);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.handle, buffer.data(), static_cast<DWORD>(buffer.size()), &got,
                      nullptr)) {
            return failed(describe("read", path));
        }
        if (got == 0) {
            return ReadResult::Read;
        }
        if (bytes.size() + got > maxBytes) {
            return tooLarge();
        }
        bytes.append(buffer.data(), got);
    }
}

}  // namespace velmora
