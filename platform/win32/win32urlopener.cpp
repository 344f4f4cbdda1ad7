#include "win32urlopener.h"

// shellapi.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "core/utf.h"
#include "platform/win32/systemfunction.h"

namespace velmora {

bool Win32UrlOpener::open(const std::string &url) {
    const std::optional<std::u16string> address = utf16FromUtf8(url);
    if (!address) {
        return false;
    }
    static auto *const shellExecute =
        systemFunction<decltype(ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    if (shellExecute == nullptr) {
        return false;
    }
    const auto result = reinterpret_cast<INT_PTR>(
        shellExecute(nullptr, L"open", reinterpret_cast<const wchar_t *>(address->c_str()), nullptr,
                     nullptr, SW_SHOWNORMAL));
    return result > 32;  // ShellExecute's success values are above 32
}

}  // namespace velmora
