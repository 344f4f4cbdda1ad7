#pragma once

#include <string>

namespace velmora::posix {

/**
 * The path a write to path lands on, in target: path with the symbolic links of its last part
 * followed, as open() follows them. A name not yet taken, or a link to one, is returned as it
 * is. False, error saying why (naming path), for a loop of links or a link that cannot be read.
 */
bool followLinks(const std::string &path, std::string &target, std::string &error);

}  // namespace velmora::posix
