#pragma once

#include <string>
#include <vector>

#include "core/generator.h"

namespace velmora {

/**
 * What --check says of the values, one warning a line without its line break: each value that
 * looks wrong (checkValues), with the box's prompt and how the command line sets it, then each
 * text colour that reads poorly on one of its backgrounds (lowContrasts), with both boxes and
 * the ratio. A hidden slot holding its start value draws none: the template put it there, and
 * the window offers no box to mend it.
 */
std::vector<std::string> warnings(const StyleValues &values);

}  // namespace velmora
