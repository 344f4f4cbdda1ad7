#pragma once

#include <filesystem>
#include <string>

namespace velmora {

/** Hands a web address to the system's default browser. */
class UrlOpener {
public:
    virtual ~UrlOpener() = default;

    /** Starts opening url without waiting for the page. @return false when nothing could take it.
     */
    virtual bool open(const std::string &url) = 0;

    /**
     * Starts opening a local file, such as a web page, in the program the system opens its
     * kind with (the default browser, for a page), in the form that works on the system.
     * @return false when nothing could take it, with why set to the cause in the user's
     * language, or left empty when no program opens the file's kind or the system gives no
     * cause.
     */
    virtual bool openFile(const std::filesystem::path &file, std::string &why) = 0;
};

}  // namespace velmora
