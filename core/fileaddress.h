#pragma once

// The file a file: address names, in the characters its owner reads.

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

/** How a system writes a path. */
enum class PathStyle {
    Posix,    ///< "/home/小明/图片/a.png"
    Windows,  ///< "C:\Users\小明\图片\a.png", "\\server\share\a.png"
};

/**
 * The path of the local file a file: address names, written as the system of that style
 * writes it: percent-encoded bytes decoded as UTF-8 ("%25" is "%"; a "%" not followed by two
 * hexadecimal digits stays as it is), "file:///C:/a" as "C:\a" and "file://server/share" as
 * "\\server\share" on Windows. Nothing when address is no file: address, names another
 * computer on POSIX, or its bytes are not UTF-8 or hold a NUL.
 */
std::optional<std::u16string> filePathOfAddress(std::u16string_view address, PathStyle style);

}  // namespace velmora
