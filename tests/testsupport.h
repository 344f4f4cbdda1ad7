#pragma once

#include <string>

#include "core/generator.h"

namespace velmora::test {

/** The expected output with every box at its start value, as bytes. */
std::string workedResult();

/**
 * Whether a background value is a colour, recognised here on its own (by regular expressions,
 * not by the product's parser) for the forms the tests use: "#rgb", "#rrggbb", the seventeen
 * kept names and rgb()/rgba() of integers or of percentages, in any case, nothing around them.
 */
bool looksLikeColour(std::u16string_view value);

/**
 * The generation done the slow, literal way: the template and each step run as a Replace over
 * the whole working text, an image value in "url(" and ")" unless it is a colour. For values
 * that hold no token, no "1px" and no "font-weight:bold" it is the reference the generator must
 * match byte for byte.
 */
std::u16string literalGeneration(const StyleValues &values);

/**
 * The output the generator must give for any values: the literal generation run with a unique
 * marker character in place of each value, and each marker then swapped for the value as typed.
 */
std::u16string expectedGeneration(const StyleValues &values);

}  // namespace velmora::test
