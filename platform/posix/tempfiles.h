#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace velmora::posix {

/** The temporary file through which writeFileAtomically replaces a regular file. */
enum class Temporary {
    /** Made with O_TMPFILE and given a name only once written and flushed; where the system or
     *  file system has no O_TMPFILE, Named is used instead. */
    Unnamed,
    /** A short random name in the folder, removed on failure and, if the program is ended by
     *  SIGINT, SIGTERM, SIGHUP or SIGQUIT left at their default actions, by a signal handler. */
    Named,
};

/** writeFileAtomically with the temporary file's kind chosen, so that both can be tested. */
bool writeFileAtomically(const std::filesystem::path &path, std::string_view bytes,
                         std::string &error, Temporary temporary,
                         Durability durability = Durability::Flushed,
                         Writable writable = Writable::AnyFile);

}  // namespace velmora::posix
