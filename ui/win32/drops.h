#pragma once

// Files dropped on the window or on one of its boxes (WM_DROPFILES), as the shell hands them
// over. shell32's drop functions are looked up when first needed rather than linked: the window
// does without them until a file is dropped.

#include <windows.h>

#include <filesystem>
#include <optional>
#include <vector>

namespace velmora {

/**
 * The files of drop, in the order the shell gives them; drop is released. Nothing, and drop left
 * alone, where the system has no drop functions.
 */
std::optional<std::vector<std::filesystem::path>> takeDroppedFiles(HDROP drop);

}  // namespace velmora
