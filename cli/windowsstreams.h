#pragma once

#include <windows.h>

#include <optional>
#include <ostream>

#include "consoletext.h"

namespace velmora {

/**
 * Standard output or standard error as velmora-css writes to it on Windows: the UTF-8 bytes
 * unchanged when it goes to a file or a pipe, so that the bytes are those of the Linux build;
 * UTF-16 through WriteConsoleW when it is a console, which shows UTF-8 bytes as mojibake.
 */
class StandardStream final {
public:
    /**
     * Sets the C runtime's descriptor for which (STD_OUTPUT_HANDLE or STD_ERROR_HANDLE) to
     * binary mode, so that no CR is added before LF; bytes is the C++ stream on it.
     */
    StandardStream(DWORD which, std::ostream &bytes);

    StandardStream(const StandardStream &) = delete;
    StandardStream &operator=(const StandardStream &) = delete;

    /** The stream to write UTF-8 to. */
    std::ostream &stream() { return m_console ? *m_console : m_bytes; }

private:
    std::ostream &m_bytes;
    std::optional<Utf16Writer> m_writer;
    std::optional<std::ostream> m_console;
};

}  // namespace velmora
