#include "platform/posix/inplacewrite.h"

#include <fcntl.h>

#include "platform/posix/failures.h"
#include "platform/posix/filedescriptor.h"

namespace velmora::posix {

bool writeInPlace(const std::string &target, std::string_view bytes, std::string &error,
                  const std::string &shown) {
    FileDescriptor file(::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0 || !writeAll(file.get(), bytes) || !file.close()) {
        error = describe("write", shown);
        return false;
    }
    return true;
}

}  // namespace velmora::posix
