#pragma once

// Telling the shop owner, in the window's own words, that a file could not be read or written.

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/messageboxes.h"
#include "platform/urlopener.h"

namespace velmora {

/** UTF-8 text as the window shows it; text that is not UTF-8 shows as one replacement mark. */
std::u16string text16(std::string_view utf8);

/** A path as the window shows it. */
std::u16string pathText(const std::filesystem::path &path);

/** Why a file could not be read or written: the common causes in Chinese, else the system's. */
std::u16string reasonText(const FileFailure &why);

/**
 * Why a file could not be opened in its program, in Chinese: the common causes in words of the
 * window's own, no browser when the system names no cause, else the system's code and its words.
 */
std::u16string openFailureText(const OpenFailure &why);

/**
 * Shows caption and a message made of prompt, the file's path and, on a line of its own after
 * "原因：", the reason (nothing when reason is empty).
 */
void reportFileFailure(MessageBoxes &boxes, std::u16string_view caption, std::u16string_view prompt,
                       const std::filesystem::path &file, std::u16string_view reason);

/** As above, the reason being reasonText(why). */
void reportFileFailure(MessageBoxes &boxes, std::u16string_view caption, std::u16string_view prompt,
                       const std::filesystem::path &file, const FileFailure &why);

}  // namespace velmora
