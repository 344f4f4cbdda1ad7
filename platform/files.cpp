#include "platform/files.h"

namespace velmora {

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
