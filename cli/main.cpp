#include <iostream>

#include "cliapp.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "consoletext.h"
#include "windowsstreams.h"

// Windows gives the arguments as UTF-16 (wmain); runCli takes UTF-8, as on Linux.
int wmain(int argc, wchar_t **argv) {
    std::ios::sync_with_stdio(false);
    velmora::StandardStream out(STD_OUTPUT_HANDLE, std::cout);
    velmora::StandardStream err(STD_ERROR_HANDLE, std::cerr);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        std::optional<std::string> arg =
            velmora::utf8FromArgument(reinterpret_cast<const char16_t *>(argv[i]));
        if (!arg) {
            err.stream() << "velmora-css: argument " << i << " is not valid Unicode\n";
            return velmora::kExitBadUsage;
        }
        args.push_back(std::move(*arg));
    }
    _setmode(_fileno(stdin), _O_BINARY);  // "--import -" reads the code's CR LF as they are
    const int status = velmora::runCli(args, std::cin, out.stream(), err.stream());
    out.stream().flush();
    return status;
}
#else
int main(int argc, char **argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return velmora::runCli(args, std::cin, std::cout, std::cerr);
}
#endif
