#pragma once

// What a file dropped on the window is taken for.

#include <filesystem>

namespace velmora {

/** What the window does with a dropped file. */
enum class DropKind {
    Picture,  ///< a PNG, JPEG or GIF image: its address goes into an image box
    Code,     ///< navigation code (.css): imported
    Values,   ///< anything else: loaded as a values file
};

/** What the dropped file is taken for, by its name. */
DropKind dropKind(const std::filesystem::path &file);

}  // namespace velmora
