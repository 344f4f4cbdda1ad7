#include "platform/files.h"

#include <windows.h>

#include <random>
#include <vector>

#include "core/utf.h"

namespace velmora {

namespace {

const wchar_t *wide(const std::wstring &text) { return text.c_str(); }

std::string systemMessage(DWORD code) {
    wchar_t *buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    std::u16string text(reinterpret_cast<const char16_t *>(buffer), length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u'.')) {
        text.pop_back();
    }
    return text.empty() ? "error " + std::to_string(code) : utf8FromUtf16(text);
}

std::string describe(const std::string &what, const std::filesystem::path &path) {
    const DWORD code = GetLastError();
    return "cannot " + what + " " + utf8FromPath(path) + ": " + systemMessage(code);
}

/** Closes a file handle when it goes out of scope. */
struct HandleCloser {
    HANDLE handle;
    ~HandleCloser() {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 24));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

std::filesystem::path pathFromUtf8(std::string_view text) {
    const std::u16string wideText = utf16FromUtf8(text).value_or(u"");
    return std::wstring(wideText.begin(), wideText.end());
}

std::string utf8FromPath(const std::filesystem::path &path) {
    const std::wstring &native = path.native();
    return utf8FromUtf16(std::u16string(native.begin(), native.end()));
}

bool writeFileAtomically(const std::filesystem::path &path, std::string_view bytes,
                         std::string &error) {
    std::filesystem::path folder = path.parent_path();
    if (folder.empty()) {
        folder = L".";
    }
    std::vector<wchar_t> temp(MAX_PATH + 1);
    if (GetTempFileNameW(folder.c_str(), L"vel", 0, temp.data()) == 0) {
        error = describe("create a temporary file beside", path);
        return false;
    }
    const std::wstring tempPath(temp.data());
    bool ok = true;
    {
        HandleCloser file{CreateFileW(wide(tempPath), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr)};
        if (file.handle == INVALID_HANDLE_VALUE) {
            error = describe("open", tempPath);
            ok = false;
        } else if (!writeAll(file.handle, bytes)) {
            error = describe("write", tempPath);
            ok = false;
        } else if (!FlushFileBuffers(file.handle)) {
            error = describe("flush", tempPath);
            ok = false;
        }
    }
    if (ok) {
        // ReplaceFile keeps the replaced file's attributes and permissions.
        const DWORD attributes = GetFileAttributesW(path.c_str());
        const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
        const bool folder = exists && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (folder) {
            SetLastError(ERROR_ACCESS_DENIED);  // as Windows says; wine would replace the folder
        }
        const bool placed =
            !folder &&
            (exists ? ReplaceFileW(path.c_str(), wide(tempPath), nullptr,
                                   REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                    : MoveFileExW(wide(tempPath), path.c_str(), MOVEFILE_WRITE_THROUGH) != 0);
        if (!placed) {
            error = describe("replace", path);
            ok = false;
        }
    }
    if (!ok) {
        DeleteFileW(wide(tempPath));
    }
    return ok;
}

bool readFile(const std::filesystem::path &path, std::string &bytes, std::string &error) {
    HandleCloser file{CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.handle == INVALID_HANDLE_VALUE) {
        error = describe("read", path);
        return false;
    }
    bytes.clear();
    std::vector<char> buffer(1 << 16);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.handle, buffer.data(), static_cast<DWORD>(buffer.size()), &got,
                      nullptr)) {
            error = describe("read", path);
            return false;
        }
        if (got == 0) {
            return true;
        }
        bytes.append(buffer.data(), got);
    }
}

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

}  // namespace velmora
