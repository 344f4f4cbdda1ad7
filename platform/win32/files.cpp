#include "platform/files.h"

#include <windows.h>

#include <random>
#include <utility>
#include <vector>

#include "core/utf.h"
#include "platform/win32/systemmessage.h"

namespace velmora {

std::string systemMessage(unsigned long code) {
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

namespace {

/** The cause of the last failure described on this thread, handed to callers that ask. */
thread_local FileFailure t_failure;

FileProblem problemOf(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return FileProblem::NotFound;
        case ERROR_ACCESS_DENIED:
            return FileProblem::NoPermission;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return FileProblem::DiskFull;
        case ERROR_WRITE_PROTECT:
            return FileProblem::ReadOnly;
        case ERROR_DIRECTORY:
            return FileProblem::IsFolder;
        case ERROR_FILE_TOO_LARGE:
            return FileProblem::TooLarge;
        default:
            return FileProblem::Other;
    }
}

std::string describe(const std::string &what, const std::filesystem::path &path) {
    const DWORD code = GetLastError();
    t_failure = {problemOf(code), systemMessage(code)};
    return "cannot " + what + " " + utf8FromPath(path) + ": " + t_failure.systemText;
}

/** A failure with a cause of its own: problem, and the system's words for the code. */
std::string refuse(const std::string &what, const std::filesystem::path &path, FileProblem problem,
                   DWORD code) {
    SetLastError(code);
    std::string message = describe(what, path);
    t_failure.problem = problem;
    return message;
}

/** Hands the cause of the failure just described to a caller that asked for it. */
void tell(FileFailure *why) {
    if (why != nullptr) {
        *why = t_failure;
    }
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

/** A temporary file beside the target: closed, and deleted unless kept, when out of scope. */
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile() {
        close();
        if (!m_kept && !m_path.empty()) {
            DeleteFileW(m_path.c_str());
        }
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    /** Makes the file under a new short name in folder; false, GetLastError saying why, if not. */
    bool create(const std::filesystem::path &folder) {
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

    HANDLE handle() const { return m_handle; }
    const std::filesystem::path &path() const { return m_path; }

    void close() {
        if (m_handle != INVALID_HANDLE_VALUE) {
            CloseHandle(std::exchange(m_handle, INVALID_HANDLE_VALUE));
        }
    }

    void keep() { m_kept = true; }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    std::filesystem::path m_path;
    bool m_kept = false;
};

/** Whether path names a device or pipe (NUL, CON, COM1, \\.\pipe\...) rather than a file. */
bool isDevice(const std::filesystem::path &path) {
    HandleCloser file{CreateFileW(path.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
    return file.handle != INVALID_HANDLE_VALUE && GetFileType(file.handle) != FILE_TYPE_DISK;
}

/** A device takes the bytes as they are; there is nothing to replace. */
bool writeInPlace(const std::filesystem::path &path, std::string_view bytes, std::string &error) {
    HandleCloser file{CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.handle == INVALID_HANDLE_VALUE || !writeAll(file.handle, bytes)) {
        error = describe("write", path);
        return false;
    }
    return true;
}

/** The volume and file number of an existing file or folder; GetLastError says why not. */
std::optional<FileIdentity> identityOf(const std::filesystem::path &path) {
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

std::string sizeText(std::uintmax_t bytes) {
    return bytes % (1U << 20) == 0 ? std::to_string(bytes >> 20) + " MiB"
                                   : std::to_string(bytes) + " bytes";
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

namespace {

bool writeReplacing(const std::filesystem::path &path, std::string_view bytes, std::string &error,
                    Durability durability) {
    if (isDevice(path)) {
        return writeInPlace(path, bytes, error);
    }
    std::filesystem::path folder = path.parent_path();
    if (folder.empty()) {
        folder = L".";
    }
    TemporaryFile temporary;
    if (!temporary.create(folder)) {
        error = describe("create a temporary file beside", path);
        return false;
    }
    if (!writeAll(temporary.handle(), bytes)) {
        error = describe("write", path);
        return false;
    }
    if (durability == Durability::Flushed && !FlushFileBuffers(temporary.handle())) {
        error = describe("flush", path);
        return false;
    }
    temporary.close();
    // ReplaceFile keeps the replaced file's attributes and permissions.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        // As Windows says; wine would replace the folder.
        error = refuse("replace", path, FileProblem::IsFolder, ERROR_ACCESS_DENIED);
        return false;
    }
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        error = refuse("replace", path, FileProblem::ReadOnly, ERROR_ACCESS_DENIED);
        return false;
    }
    const bool placed =
        exists ? ReplaceFileW(path.c_str(), temporary.path().c_str(), nullptr,
                              REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
               : MoveFileExW(temporary.path().c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    if (!placed) {
        error = describe("replace", path);
        return false;
    }
    temporary.keep();
    return true;
}

}  // namespace

bool writeFileAtomically(const std::filesystem::path &path, std::string_view bytes,
                         std::string &error, Durability durability, FileFailure *why) {
    if (writeReplacing(path, bytes, error, durability)) {
        return true;
    }
    tell(why);
    return false;
}

ReadResult readFile(const std::filesystem::path &path, std::string &bytes, std::string &error,
                    std::uintmax_t maxBytes, Readable readable, FileFailure *why) {
    bytes.clear();
    const auto failed = [&](std::string message) {
        error = std::move(message);
        tell(why);
        return ReadResult::Failed;
    };
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return failed(refuse("read", path, FileProblem::IsFolder, ERROR_DIRECTORY));
    }
    HandleCloser file{CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.handle == INVALID_HANDLE_VALUE) {
        return failed(describe("read", path));
    }
    // A pipe or device could keep a read waiting for ever.
    if (readable == Readable::RegularOnly && GetFileType(file.handle) != FILE_TYPE_DISK) {
        error = "cannot read " + utf8FromPath(path) + ": not a regular file";
        t_failure = {FileProblem::NotRegular, "not a regular file"};
        tell(why);
        return ReadResult::Failed;
    }
    const auto tooLarge = [&] {
        bytes = {};
        error = "cannot read " + utf8FromPath(path) + ": it holds more than " + sizeText(maxBytes);
        t_failure = {FileProblem::TooLarge, "too large"};
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

std::optional<FileIdentity> fileIdentity(const std::filesystem::path &path) {
    // CreateFileW follows symbolic links, as writing does.
    if (std::optional<FileIdentity> existing = identityOf(path)) {
        return existing;
    }
    if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        return std::nullopt;
    }
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : L".";
    std::optional<FileIdentity> identity = identityOf(folder);
    if (identity) {
        // Names that differ only in case are one name on Windows.
        std::wstring name = path.filename().native();
        CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
        identity->name = utf8FromPath(name);
    }
    return identity;
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
    const std::optional<FileIdentity> named = identityOf(m_path);
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
    TemporaryFile temporary;
    if (!temporary.create(m_path)) {
        error = describe("create a temporary file beside", file);
    } else if (!writeAll(temporary.handle(), bytes)) {
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
