#pragma once

#include <functional>
#include <istream>
#include <string>
#include <vector>

#include "core/generator.h"

namespace velmora {

/** The text of a command-line argument, which was checked to be UTF-8 before parsing. */
std::u16string argumentText(const std::string &bytes);

/** A wrong command line or input, reported as one line with the bad-usage status. */
struct UsageError {
    std::string message;
};

/**
 * One of velmora-css's options that set values, as its help shows it and with what it does:
 * each is given in any number and applied in the order given on the command line.
 */
struct ValueOption {
    std::string name;         ///< as written on the command line, "--slot"
    std::string typeName;     ///< what its argument is, in the help: "N=VALUE"
    std::string description;  ///< its line in the help
    /** What the argument names: nothing, a file to read, or a file or "-" for standard input. */
    enum class Names { Value, File, FileOrStandardInput } names = Names::Value;
    /**
     * Applies the argument to values, reading any file it names ("-" from in); throws a
     * UsageError naming the option, or the file and where in it, when the argument is refused.
     */
    std::function<void(StyleValues &values, const std::string &argument, std::istream &in)> apply;
    /**
     * Refuses an argument that no values could take (a slot number out of range, a palette
     * nobody named), throwing the same UsageError as apply, without reading any file: so that a
     * bad name is refused where nothing is applied.
     */
    std::function<void(const std::string &argument)> check;
};

/** The options that set values, in the order the help lists them. */
const std::vector<ValueOption> &valueOptions();

}  // namespace velmora
