#include "windowsstreams.h"

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>

namespace velmora {

namespace {

bool writeConsole(HANDLE console, std::u16string_view text) {
    while (!text.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(text.size(), 1 << 14));
        DWORD written = 0;
        if (!WriteConsoleW(console, text.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        text.remove_prefix(written);
    }
    return true;
}

}  // namespace

StandardStream::StandardStream(DWORD which, std::ostream &bytes) : m_bytes(bytes) {
    _setmode(_fileno(which == STD_ERROR_HANDLE ? stderr : stdout), _O_BINARY);
    HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        m_writer.emplace([handle](std::u16string_view text) { return writeConsole(handle, text); });
        m_console.emplace(&*m_writer);
        m_console->flags(bytes.flags());  // std::cerr's unitbuf: each message at once
    }
}

}  // namespace velmora
