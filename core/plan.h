#pragma once

// Internal to the core: the shape of the generated text, shared by the generator, which fills it
// in, and the importer, which reads values back out of it, so that the two cannot disagree.

#include <string>
#include <string_view>
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
    int hole;      ///< 0 to kHoleCount - 1, or kNoHole
    bool wrapped;  ///< the hole takes an image: "url(" value ")", or a colour as it stands
};

/**
 * The generated text as a sequence of pieces: the template with its tokens made holes, followed
 * by the three image box rules, with the bold mark and zero widths already applied to the
 * literals. The holes of image slots and image boxes are wrapped; the "url(" and ")" around
 * their values are not part of the literals. Every piece but the last has a hole; a slot may
 * have several holes, slots 14 and 15 have none. Built once.
 */
const std::vector<Piece> &generationPlan();

/**
 * Whether a wrapped hole writes value as it stands rather than as "url(" value ")": exactly
 * when parseColour accepts it, the value untrimmed. Quick for addresses and long values.
 */
bool writtenAsColour(std::u16string_view value);

/** The value that fills hole (0 to kHoleCount - 1). */
const std::u16string &holeValue(const StyleValues &values, int hole);
/** @copydoc holeValue(const StyleValues &, int) */
std::u16string &holeValue(StyleValues &values, int hole);

}  // namespace velmora
