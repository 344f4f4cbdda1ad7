#include "platform/win32/systemmessage.h"

#include <windows.h>

#include "core/utf.h"

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

}  // namespace velmora
