#pragma once

#include <string>

#include "platform/files.h"

namespace velmora::posix {

/**
 * How the file functions describe a failure: one English sentence for the error text, and the
 * cause kept on the calling thread until tell hands it to a caller that asked.
 */

/** The problem the error number code stands for. */
FileProblem problemOf(int code);

/**
 * "cannot what path: " and the system's text for errno; remembers errno's problem as the cause.
 */
std::string describe(const std::string &what, const std::string &path);

/** A failure that is no error number's: "cannot what path: reason", problem as the cause. */
std::string refuse(const std::string &what, const std::string &path, FileProblem problem,
                   const std::string &reason);

/** Hands the cause of the failure last described on this thread to why, when given. */
void tell(FileFailure *why);

}  // namespace velmora::posix
