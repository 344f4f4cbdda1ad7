#pragma once

#include <optional>
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

/**
 * The descriptor of this process that a write to path must go through rather than open path
 * again: the one path names as /dev/stdin, /dev/stdout, /dev/stderr, /dev/fd/N or
 * /proc/self/fd/N (whether open or not), else standard input, output or error when it is open
 * for writing and is the very file path names (same device and file number). Nothing when
 * path is none of these.
 */
std::optional<int> heldDescriptor(const std::string &path);

/**
 * Writes bytes through a duplicate of the descriptor fd, so that the bytes land as the file
 * was opened: after what it holds when opened for appending, in order into a pipe. False,
 * error naming shown and saying why, when fd is not open or cannot be written.
 */
bool writeThrough(int fd, std::string_view bytes, std::string &error, const std::string &shown);

}  // namespace velmora::posix
