#include "win32urlopener.h"

// shellapi.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "core/utf.h"
#include "platform/win32/shellfailure.h"
#include "platform/win32/systemfunction.h"
#include "platform/win32/systemmessage.h"

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

bool Win32UrlOpener::openFile(const std::filesystem::path &file, OpenFailure &why) {
    why = {};
    static auto *const shellExecuteEx =
        systemFunction<decltype(ShellExecuteExW)>(L"shell32.dll", "ShellExecuteExW");
    if (shellExecuteEx == nullptr) {
        return false;
    }
    // The path itself, not a file: address: the shell opens it with the program registered for
    // its extension (the default browser, for .html) on Windows and under wine alike.
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;  // the window says why itself
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!shellExecuteEx(&info)) {
        const DWORD code = GetLastError();
        const auto shellError =
            static_cast<unsigned long>(reinterpret_cast<INT_PTR>(info.hInstApp));
        std::error_code ignored;
        why.cause = shellFailureOf(code, shellError, std::filesystem::exists(file, ignored));
        why.code = code != ERROR_SUCCESS ? code : shellError;
        why.systemText = code != ERROR_SUCCESS ? readableSystemText(systemMessage(code)) : "";
        return false;
    }
    return true;
}

}  // namespace velmora
