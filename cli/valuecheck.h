#pragma once

#include <string>
#include <vector>

#include "core/generator.h"

namespace velmora {

/**
 * Warnings about values that are probably mistakes, one sentence each, naming the slot or image
 * box by its prompt: a colour slot holding neither nothing nor a CSS colour (#rgb, #rrggbb or a
 * colour keyword), an image slot or box holding neither nothing nor an http:// or https://
 * address, and a value with leading or trailing spaces. Empty when all looks right.
 */
std::vector<std::string> checkValues(const StyleValues &values);

}  // namespace velmora
