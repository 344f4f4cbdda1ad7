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

}  // namespace velmora
