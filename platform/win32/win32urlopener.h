#pragma once

#include "platform/urlopener.h"

namespace velmora {

/** Opens addresses in the default browser through the shell (ShellExecuteW). */
class Win32UrlOpener final : public UrlOpener {
public:
    bool open(const std::string &url) override;
    bool openFile(const std::filesystem::path &file, OpenFailure &why) override;
};

}  // namespace velmora
