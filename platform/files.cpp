#include "platform/files.h"

#include <array>

namespace velmora {

bool isWindowsDeviceName(std::string_view name) {
    // What comes before an extension or a stream's colon, without the spaces Windows drops.
    std::string_view stem = name.substr(0, name.find_first_of(".:"));
    while (stem.ends_with(' ')) {
        stem.remove_suffix(1);
    }
    std::string upper(stem);
    for (char &c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN",    "AUX",
                                                          "NUL", "CONIN$", "CONOUT$"};
    for (const std::string_view device : kDevices) {
        if (upper == device) {
            return true;
        }
    }
    if (!upper.starts_with("COM") && !upper.starts_with("LPT")) {
        return false;
    }
    const std::string_view number = std::string_view(upper).substr(3);
    return (number.size() == 1 && number[0] >= '1' && number[0] <= '9') || number == "\xC2\xB9" ||
           number == "\xC2\xB2" || number == "\xC2\xB3";  // ¹ ² ³
}

std::string fileUrl(const std::filesystem::path &path) {
    std::string text = utf8FromPath(path);
    for (char &c : text) {
        if (c == '\\') {
            c = '/';  // Windows' separators
        }
    }
    std::string url = text.starts_with('/') ? "file://" : "file:///";
    constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') ||
                           std::string_view("-._~/:").find(c) != std::string_view::npos;
        if (plain) {
            url.push_back(c);
        } else {
            url.push_back('%');
            url.push_back(kHex[byte >> 4]);
            url.push_back(kHex[byte & 15]);
        }
    }
    return url;
}

}  // namespace velmora
