#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/posix/tempfiles.h"

namespace velmora::posix {

/** Where a regular file is replaced, and what it was. */
struct Replacement {
    int folder;                           ///< the open folder the file is in
    std::string name;                     ///< the file's name in the folder
    std::optional<struct stat> replaced;  ///< the file replaced; nothing for a new name
    std::string shown;                    ///< the path as given, for messages
    bool flush = true;                    ///< whether the bytes must reach the disk before the swap
};

/**
 * Puts bytes in place of to.name in to.folder, whole or not at all: written to a temporary file
 * of the kind asked for (Unnamed falls back to Named where the system has no O_TMPFILE or no
 * /proc), given the replaced file's owner and mode, flushed as asked, then renamed over the
 * name, which replaces a link of that name rather than following it. The temporary file is
 * removed on failure. False, error saying why (as describe and refuse set it), on failure.
 */
bool replaceInFolder(const Replacement &to, std::string_view bytes, std::string &error,
                     Temporary temporary);

}  // namespace velmora::posix
