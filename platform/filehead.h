#pragma once

// The first bytes of a file, to tell what it holds without reading it whole.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/files.h"

namespace velmora {

/**
 * At most count bytes from the start of the regular file at path, read without waiting: a
 * folder, FIFO, device or socket is refused without being read (a FIFO is not even opened), as
 * is a file that is not there or may not be read, and on Windows a name Windows keeps for a
 * device (FileProblem::ReservedName). Nothing then, and why, when given, says which.
 */
std::optional<std::string> readFileHead(const std::filesystem::path &path, std::size_t count,
                                        FileFailure *why = nullptr);

}  // namespace velmora
