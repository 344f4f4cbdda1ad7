#pragma once

#include <windows.h>

namespace velmora {

/**
 * A function of a system DLL, loaded the first time it is needed rather than when the program
 * starts: shell32 and comdlg32 bring dozens of libraries with them, which slows the window's
 * start for what only a click on the shop link, a dialog or a drop needs. Nothing when the DLL
 * or the function cannot be found.
 */
template <typename Function>
Function *systemFunction(const wchar_t *dll, const char *name) {
    HMODULE module = GetModuleHandleW(dll);
    if (module == nullptr) {
        module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    if (module == nullptr) {
        return nullptr;
    }
    // The cast between function pointer types is how GetProcAddress is meant to be used.
    return reinterpret_cast<Function *>(reinterpret_cast<void *>(GetProcAddress(module, name)));
}

}  // namespace velmora
