#pragma once

#include <windows.h>

namespace velmora {

/**
 * The system DLL named dll (such as L"shell32.dll"), already loaded or loaded now, always from
 * the system folder and never from the program's folder or the current one; nothing when it
 * cannot be found there.
 */
HMODULE systemModule(const wchar_t *dll);

/**
 * A function of a system DLL, loaded the first time it is needed rather than when the program
 * starts: shell32 and comdlg32 bring dozens of libraries with them, which slows the window's
 * start for what only a click on the shop link, a dialog or a drop needs. Also how a function
 * that Windows 7 lacks is reached. Nothing when the DLL or the function cannot be found.
 */
template <typename Function>
Function *systemFunction(const wchar_t *dll, const char *name) {
    HMODULE module = systemModule(dll);
    if (module == nullptr) {
        return nullptr;
    }
    // The cast between function pointer types is how GetProcAddress is meant to be used.
    return reinterpret_cast<Function *>(reinterpret_cast<void *>(GetProcAddress(module, name)));
}

}  // namespace velmora
