#pragma once

#include "platform/urlopener.h"

namespace velmora {

/** Opens addresses with the desktop's opener (xdg-open where there is no desktop environment). */
class QtUrlOpener final : public UrlOpener {
public:
    bool open(const std::string &url) override;
    bool openFile(const std::filesystem::path &file, OpenFailure &why) override;
};

}  // namespace velmora
