#pragma once

#include <string>
#include <string_view>

namespace velmora::posix {

/**
 * Writes bytes into the file at target as it is, never replacing it: for devices, FIFOs and
 * the like, which take the bytes as they come. False, error naming shown and saying why, when
 * it cannot be opened, written or closed.
 */
bool writeInPlace(const std::string &target, std::string_view bytes, std::string &error,
                  const std::string &shown);

}  // namespace velmora::posix
