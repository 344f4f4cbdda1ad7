#include <windows.h>

#include "platform/files.h"
#include "platform/win32/failures.h"
#include "platform/win32/handlecloser.h"
#include "platform/win32/inplacewrite.h"
#include "platform/win32/temporaryfile.h"

namespace velmora {

using win32::describe;
using win32::refuse;

namespace {

bool writeReplacing(const std::filesystem::path &path, std::string_view bytes, std::string &error,
                    Durability durability, Writable writable) {
    // Opened, such a name gives the device whatever folder it is in: no file would be written.
    if (isWindowsDeviceName(utf8FromPath(path.filename()))) {
        error = win32::refuseDeviceName("write", path);
        return false;
    }
    if (win32::isDevice(path)) {
        if (writable == Writable::RegularOnly) {
            error = refuse("write", path, {FileProblem::NotRegular, "not a regular file"},
                           "not a regular file");
            return false;
        }
        return win32::writeInPlace(path, bytes, error);
    }
    std::filesystem::path folder = path.parent_path();
    if (folder.empty()) {
        folder = L".";
    }
    win32::TemporaryFile temporary;
    if (!temporary.create(folder)) {
        error = describe("create a temporary file beside", path);
        return false;
    }
    if (!win32::writeAll(temporary.handle(), bytes)) {
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
                         std::string &error, Durability durability, FileFailure *why,
                         Writable writable) {
    if (writeReplacing(path, bytes, error, durability, writable)) {
        return true;
    }
    win32::tell(why);
    return false;
}

}  // namespace velmora
