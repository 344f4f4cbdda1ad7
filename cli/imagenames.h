#pragma once

#include <array>
#include <string_view>

#include "core/texts.h"

namespace velmora {

/** The command line's and the preset files' names of the image boxes Text7, Text1 and Text2. */
inline constexpr std::array<std::string_view, kImageBoxCount> kImageNames = {
    "menu-hover-image", "submenu-image", "submenu-hover-image"};

}  // namespace velmora
