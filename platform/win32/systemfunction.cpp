#include "systemfunction.h"

#include <string>

namespace velmora {

namespace {

HMODULE loadByFullPath(const wchar_t *dll) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    const std::wstring path = std::wstring(folder, length) + L'\\' + dll;
    // The DLLs it needs in turn are looked for beside it first, in the system folder.
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

HMODULE systemModule(const wchar_t *dll) {
    if (HMODULE loaded = GetModuleHandleW(dll)) {
        return loaded;
    }
    HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // A Windows 7 without update KB2533623 knows no LOAD_LIBRARY_SEARCH_* flag and refuses it:
    // the DLL's full path then, never its bare name (one planted beside the program would win).
    if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) {
        module = loadByFullPath(dll);
    }
    return module;
}

}  // namespace velmora
