#pragma once

#include <string>
#include <string_view>

namespace velmora {

/**
 * Writes bytes to the file at path whole or not at all: into a temporary file beside it, flushed
 * to disk, then renamed over path. On failure returns false, sets error to a sentence that says
 * why, and leaves neither a partial file nor the temporary one behind.
 */
bool writeFileAtomically(const std::string &path, std::string_view bytes, std::string &error);

/**
 * Reads the whole file at path into bytes. On failure returns false and sets error to a
 * sentence that says why.
 */
bool readFile(const std::string &path, std::string &bytes, std::string &error);

}  // namespace velmora
