#include "drops.h"

#include <string>

namespace velmora {

namespace {

/** The file name's extension in lower case, with its dot. */
std::u16string lowerExtension(const std::filesystem::path &file) {
    std::u16string extension = file.extension().u16string();
    for (char16_t &c : extension) {
        c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    }
    return extension;
}

}  // namespace

DropKind dropKind(const std::filesystem::path &file) {
    const std::u16string extension = lowerExtension(file);
    if (extension == u".png" || extension == u".jpg" || extension == u".jpeg" ||
        extension == u".gif") {
        return DropKind::Picture;
    }
    return extension == u".css" ? DropKind::Code : DropKind::Values;
}

}  // namespace velmora
