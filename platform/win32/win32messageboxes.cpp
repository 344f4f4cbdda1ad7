#include "win32messageboxes.h"

namespace velmora {

namespace {

const wchar_t *wide(const std::u16string &text) {
    return reinterpret_cast<const wchar_t *>(text.c_str());
}

}  // namespace

void Win32MessageBoxes::inform(const std::u16string &caption, const std::u16string &prompt) {
    MessageBoxW(m_owner, wide(prompt), wide(caption), MB_OK);
}

bool Win32MessageBoxes::askYesNo(const std::u16string &caption, const std::u16string &prompt) {
    return MessageBoxW(m_owner, wide(prompt), wide(caption), MB_YESNO | MB_DEFBUTTON1) == IDYES;
}

}  // namespace velmora
