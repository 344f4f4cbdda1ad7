#pragma once

// Internal to the core: the shape of the generated text, shared by the generator, which fills it
// in, and the importer, which reads values back out of it, so that the two cannot disagree.

#include <string>
#include <vector>

#include "generator.h"

namespace velmora {

/** The values a plan refers to: hole h < kSlotCount is slot h + 1, the rest are image boxes. */
inline constexpr int kFirstImageHole = kSlotCount;
inline constexpr int kHoleCount = kSlotCount + kImageBoxCount;
/** The hole of the last piece, which ends the text. */
inline constexpr int kNoHole = -1;

/** Fixed text followed by one value (or by nothing, for the last piece). */
struct Piece {
    std::u16string literal;
    int hole;  ///< 0 to kHoleCount - 1, or kNoHole
};

/**
 * The generated text as a sequence of pieces: the template with its tokens made holes (an image
 * slot's "url(" and ")" are part of the literals around its hole), followed by the three image
 * box rules, with the bold mark and zero widths already applied to the literals. Every piece but
 * the last has a hole; a slot may have several holes, slots 14 and 15 have none. Built once.
 */
const std::vector<Piece> &generationPlan();

/** The value that fills hole (0 to kHoleCount - 1). */
const std::u16string &holeValue(const StyleValues &values, int hole);
/** @copydoc holeValue(const StyleValues &, int) */
std::u16string &holeValue(StyleValues &values, int hole);

}  // namespace velmora
