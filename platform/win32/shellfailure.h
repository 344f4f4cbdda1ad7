#pragma once

#include <string>
#include <string_view>

#include "platform/urlopener.h"

namespace velmora {

/**
 * The failure ShellExecuteEx reports, from GetLastError's code (lastError) and the SE_ERR_ value
 * it left in hInstApp (shellError), which decides only when lastError is 0 or names no cause of
 * its own. fileThere tells whether the file asked for still exists: a file not found while it
 * does is the registered program's. Pure: reads nothing of the system.
 */
OpenFailure::Cause shellFailureOf(unsigned long lastError, unsigned long shellError,
                                  bool fileThere);

/**
 * The system's own words for a code as a reader can take them: systemText, or nothing when it
 * still holds an insert such as "%1" that FormatMessage, asked to ignore inserts, left unfilled.
 */
std::string readableSystemText(std::string_view systemText);

}  // namespace velmora
