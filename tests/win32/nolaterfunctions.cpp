// Linked in place of platform/win32/laterfunctions.cpp: a Windows that has none of the system
// functions later than Windows 7, whatever Windows the test runs on.
#include "platform/win32/laterfunctions.h"

namespace velmora {

const LaterFunctions &laterFunctions() {
    static const LaterFunctions none;
    return none;
}

}  // namespace velmora
