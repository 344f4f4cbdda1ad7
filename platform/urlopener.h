#pragma once

#include <string>

namespace velmora {

/** Hands a web address to the system's default browser. */
class UrlOpener {
public:
    virtual ~UrlOpener() = default;

    /** Starts opening url without waiting for the page. @return false when nothing could take it.
     */
    virtual bool open(const std::string &url) = 0;
};

}  // namespace velmora
