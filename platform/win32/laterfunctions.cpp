// Alone in its file: a test build links its own laterFunctions() in place of this one.
#include "laterfunctions.h"

#include "platform/win32/systemfunction.h"

namespace velmora {

namespace {

template <typename Function>
void lookUp(Function *&function, const wchar_t *dll, const char *name) {
    function = systemFunction<Function>(dll, name);
}

LaterFunctions lookUpAll() {
    LaterFunctions found;
    lookUp(found.getDpiForWindow, L"user32.dll", "GetDpiForWindow");
    lookUp(found.getDpiForSystem, L"user32.dll", "GetDpiForSystem");
    lookUp(found.adjustWindowRectExForDpi, L"user32.dll", "AdjustWindowRectExForDpi");
    lookUp(found.getSystemMetricsForDpi, L"user32.dll", "GetSystemMetricsForDpi");
    lookUp(found.enableNonClientDpiScaling, L"user32.dll", "EnableNonClientDpiScaling");
    if (found.getDpiForWindow == nullptr) {  // Windows 8.1 or earlier Windows 10
        lookUp(found.getDpiForMonitor, L"shcore.dll", "GetDpiForMonitor");
    }
    return found;
}

}  // namespace

const LaterFunctions &laterFunctions() {
    static const LaterFunctions functions = lookUpAll();
    return functions;
}

}  // namespace velmora
