#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

/**
 * Files as the window and velmora-css read and write them. Each function reports a failure by
 * returning false (or nothing) and setting error to one English sentence that names the file
 * and says why.
 */

/** The path named by UTF-8 text, on every system (wide on Windows). */
std::filesystem::path pathFromUtf8(std::string_view text);

/** The path as UTF-8 text, for messages. */
std::string utf8FromPath(const std::filesystem::path &path);

/**
 * Writes bytes to the file at path whole or not at all: into a temporary file beside it, flushed
 * to disk, then put in place of path. Leaves neither a partial file nor the temporary one behind.
 */
bool writeFileAtomically(const std::filesystem::path &path, std::string_view bytes,
                         std::string &error);

/** Reads the whole file at path into bytes. */
bool readFile(const std::filesystem::path &path, std::string &bytes, std::string &error);

/**
 * Makes a new folder of its own under the user's temporary folder, with a name nobody can
 * predict, that only the user can read or enter.
 */
std::optional<std::filesystem::path> makePrivateFolder(std::string &error);

/** The file:// address of an absolute path, with every byte that needs it percent-encoded. */
std::string fileUrl(const std::filesystem::path &path);

}  // namespace velmora
