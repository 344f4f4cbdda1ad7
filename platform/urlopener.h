#pragma once

#include <filesystem>
#include <string>

namespace velmora {

/** Why a file could not be opened in the program the system opens its kind with. */
struct OpenFailure {
    enum class Cause {
        NoProgram,     ///< no program opens the file's kind, or the one registered is missing or
                       ///< broken (no browser, for a page), or the system gives no cause
        FileMissing,   ///< the file itself is gone
        NoPermission,  ///< the system refused access to the file or to the program
        NoMemory,      ///< not enough memory or system resources
        NoAnswer,      ///< the program did not answer the system
        InUse,         ///< the file is held by another program
        Cancelled,     ///< the user cancelled a question the system asked
        Other,         ///< anything else: code says which
    };
    Cause cause = Cause::NoProgram;
    unsigned long code = 0;  ///< the system's error code, for Other
    std::string systemText;  ///< the system's own words for code, or empty when it has none
                             ///< a reader could take
};

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
     * @return false when nothing could take it, with why set to the cause.
     */
    virtual bool openFile(const std::filesystem::path &file, OpenFailure &why) = 0;
};

}  // namespace velmora
