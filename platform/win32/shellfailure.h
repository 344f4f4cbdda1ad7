#pragma once

#include <string>
#include <string_view>

namespace velmora {

/** Why the shell could not open a file, as the window explains it. */
enum class ShellFailure {
    NoProgram,     ///< no program is registered for the file's kind, or the one registered is
                   ///< missing or broken: no browser, for a page
    FileMissing,   ///< the file itself is gone
    NoPermission,  ///< the system refused access to the file or to the program
    NoMemory,      ///< not enough memory or system resources
    NoAnswer,      ///< the program did not answer the shell (DDE)
    InUse,         ///< the file is held by another program
    Cancelled,     ///< the user cancelled a question the shell asked
    Other,         ///< anything else; the code says which
};

/**
 * The failure ShellExecuteEx reports, from GetLastError's code (lastError) and the SE_ERR_ value
 * it left in hInstApp (shellError), which decides only when lastError is 0 or names no cause of
 * its own. fileThere tells whether the file asked for still exists: a file not found while it
 * does is the registered program's. Pure: reads nothing of the system.
 */
ShellFailure shellFailureOf(unsigned long lastError, unsigned long shellError, bool fileThere);

/**
 * The reason the window shows for failure, as UTF-8 Chinese text; empty for NoProgram, which the
 * window words itself. For Other, code and the system's own words (systemText), unless those
 * still hold an unfilled insert such as "%1", which would mean nothing to the reader.
 */
std::string shellFailureReason(ShellFailure failure, unsigned long code,
                               std::string_view systemText);

}  // namespace velmora
