#include "platform/files.h"

namespace velmora {

// Paths are bytes here, and the bytes are taken to be UTF-8.

std::filesystem::path pathFromUtf8(std::string_view text) { return std::string(text); }

std::string utf8FromPath(const std::filesystem::path &path) { return path.native(); }

}  // namespace velmora
