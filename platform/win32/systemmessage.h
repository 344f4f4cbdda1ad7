#pragma once

#include <string>

namespace velmora {

/** The system's own words, in its language, for a Windows error code, as UTF-8. */
std::string systemMessage(unsigned long code);

}  // namespace velmora
