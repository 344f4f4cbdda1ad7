#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

#include "platform/files.h"

namespace velmora::win32 {

/**
 * How the file functions describe a failure: one English sentence for the error text, and the
 * cause kept on the calling thread until tell hands it to a caller that asked.
 */

/** The problem the Windows error code stands for. */
FileProblem problemOf(DWORD code);

/**
 * "cannot what path: " and the system's words for GetLastError; remembers its problem as the
 * cause.
 */
std::string describe(const std::string &what, const std::filesystem::path &path);

/** A failure with a cause of its own: problem, and the system's words for the code. */
std::string refuse(const std::string &what, const std::filesystem::path &path, FileProblem problem,
                   DWORD code);

/** A failure no system code names: "cannot what path: reason", cause as the cause. */
std::string refuse(const std::string &what, const std::filesystem::path &path,
                   const FileFailure &cause, const std::string &reason);

/**
 * A name Windows keeps for a device (isWindowsDeviceName): "cannot what path: " and why no file
 * of that name is read or written, FileProblem::ReservedName as the cause.
 */
std::string refuseDeviceName(const std::string &what, const std::filesystem::path &path);

/** Hands the cause of the failure last described on this thread to why, when given. */
void tell(FileFailure *why);

}  // namespace velmora::win32
