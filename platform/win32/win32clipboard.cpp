#include "win32clipboard.h"

#include <cstring>

namespace velmora {

namespace {

constexpr int kOpenTries = 10;
constexpr DWORD kOpenPauseMs = 5;

/** Closes the clipboard when it goes out of scope. */
struct ClipboardCloser {
    ~ClipboardCloser() { CloseClipboard(); }
};

}  // namespace

bool Win32Clipboard::open() {
    for (int attempt = 1; attempt <= kOpenTries; ++attempt) {
        if (OpenClipboard(m_owner)) {
            return true;
        }
        if (attempt < kOpenTries) {
            Sleep(kOpenPauseMs);
        }
    }
    return false;
}

bool Win32Clipboard::clear() {
    if (!open()) {
        return false;
    }
    ClipboardCloser closer;
    return EmptyClipboard() != 0;
}

bool Win32Clipboard::setText(const std::u16string &text) {
    const SIZE_T bytes = (text.size() + 1) * sizeof(char16_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) {
        return false;
    }
    void *data = GlobalLock(memory);
    if (data == nullptr) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(data, text.c_str(), bytes);
    GlobalUnlock(memory);
    if (!open()) {
        GlobalFree(memory);
        return false;
    }
    ClipboardCloser closer;
    if (!EmptyClipboard() || SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
        GlobalFree(memory);  // the clipboard took no ownership of it
        return false;
    }
    return true;
}

std::optional<std::u16string> Win32Clipboard::text() {
    if (!open()) {
        return std::nullopt;
    }
    ClipboardCloser closer;
    HANDLE memory = GetClipboardData(CF_UNICODETEXT);
    if (memory == nullptr) {
        return std::u16string();  // no text on the clipboard
    }
    const auto *data = static_cast<const char16_t *>(GlobalLock(memory));
    if (data == nullptr) {
        return std::nullopt;
    }
    // The text ends at its terminating NUL, and never past the memory block.
    const std::size_t limit = GlobalSize(memory) / sizeof(char16_t);
    std::size_t length = 0;
    while (length < limit && data[length] != u'\0') {
        ++length;
    }
    std::u16string text(data, length);
    GlobalUnlock(memory);
    return text;
}

std::optional<bool> Win32Clipboard::holds(const std::u16string &text) {
    // Another owner's text may be rendered only when asked for, and an owner that does not
    // answer would stop the window: what another program put there is not ours anyway.
    if (GetClipboardOwner() != m_owner) {
        return false;
    }
    const std::optional<std::u16string> current = this->text();
    if (!current) {
        return std::nullopt;
    }
    return *current == text;
}

}  // namespace velmora
