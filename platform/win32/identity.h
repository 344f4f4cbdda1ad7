#pragma once

#include <filesystem>
#include <optional>

#include "platform/files.h"

namespace velmora::win32 {

/**
 * The volume and file number of an existing file or folder, symbolic links followed; nothing,
 * GetLastError saying why, when it cannot be opened.
 */
std::optional<FileIdentity> identityOf(const std::filesystem::path &path);

}  // namespace velmora::win32
