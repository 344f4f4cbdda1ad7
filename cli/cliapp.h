#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace velmora {

/** Exit statuses of velmora-css. */
enum ExitStatus : int {
    kExitOk = 0,
    kExitFailed = 1,    ///< a file or standard output could not be written, or memory ran out
    kExitBadUsage = 2,  ///< the command line or a values file is wrong; nothing was written
    kExitWarnings = 3,  ///< --strict found questionable values; nothing was written
};

/**
 * Runs velmora-css on args (the arguments after the program name): parses them, generates the
 * style sheet and writes it as UTF-8 bytes to out, or to the file named by --output, and any
 * preview page and values file asked for. Options that set values apply in the order given;
 * "--import -" reads the code from in. Errors go to err one line each, control characters shown
 * escaped; on a bad command line (an empty file name, an output that is an input or another
 * output, a slot, palette or brand colour no values could take, also beside --list) nothing is
 * written. "--option=" gives the option an empty value, as "--option ''" does.
 * @return an ExitStatus.
 */
int runCli(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
           std::ostream &err);

}  // namespace velmora
