#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace velmora::win32 {

/** Whether path names a device or pipe (NUL, CON, COM1, \\.\pipe\...) rather than a file. */
bool isDevice(const std::filesystem::path &path);

/**
 * Writes bytes into the device at path as it is, never replacing it. False, error naming path
 * and saying why, when it cannot be opened or written.
 */
bool writeInPlace(const std::filesystem::path &path, std::string_view bytes, std::string &error);

}  // namespace velmora::win32
