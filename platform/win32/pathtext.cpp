#include "core/utf.h"
#include "platform/files.h"

namespace velmora {

std::filesystem::path pathFromUtf8(std::string_view text) {
    const std::u16string wideText = utf16FromUtf8(text).value_or(u"");
    return std::wstring(wideText.begin(), wideText.end());
}

std::string utf8FromPath(const std::filesystem::path &path) {
    const std::wstring &native = path.native();
    return utf8FromUtf16(std::u16string(native.begin(), native.end()));
}

}  // namespace velmora
