#include "generator.h"

#include <array>
#include <stdexcept>
#include <vector>

#include "plan.h"

namespace velmora {

bool isImageBox(int box) {
    return box >= kSlotCount || kSlots.at(static_cast<std::size_t>(box)).wrap == Wrap::Url;
}

std::u16string &StyleValues::box(int number) {
    if (number < 0 || number >= kBoxCount) {
        throw std::out_of_range("no box " + std::to_string(number));
    }
    return number < kSlotCount ? slots[static_cast<std::size_t>(number)]
                               : images[static_cast<std::size_t>(number - kSlotCount)];
}

const std::u16string &StyleValues::box(int number) const {
    return const_cast<StyleValues *>(this)->box(number);
}

std::u16string &StyleValues::slot(int number) {
    return slots[static_cast<std::size_t>(slotByNumber(number).number - 1)];
}

const std::u16string &StyleValues::slot(int number) const {
    return slots[static_cast<std::size_t>(slotByNumber(number).number - 1)];
}

StyleValues startValues() {
    StyleValues values;
    for (const Slot &slot : kSlots) {
        values.slot(slot.number) = slot.startValue;
    }
    return values;
}

void clearValues(StyleValues &values) {
    for (int number = 1; number <= 16; ++number) {
        values.slot(number).clear();
    }
    for (std::u16string &image : values.images) {
        image.clear();
    }
}

void generateCss(const StyleValues &values, std::u16string &out) {
    const std::vector<Piece> &pieces = generationPlan();
    std::array<bool, kHoleCount> colour{};
    for (int hole = 0; hole < kHoleCount; ++hole) {
        colour[static_cast<std::size_t>(hole)] =
            isImageBox(hole) && writtenAsColour(holeValue(values, hole));
    }
    const auto urlAround = [&](const Piece &piece) {
        return piece.wrapped && !colour[static_cast<std::size_t>(piece.hole)];
    };
    std::size_t size = 0;
    for (const Piece &piece : pieces) {
        size += piece.literal.size();
        if (piece.hole != kNoHole) {
            size += holeValue(values, piece.hole).size() + (urlAround(piece) ? 5 : 0);
        }
    }
    out.clear();
    out.reserve(size);
    for (const Piece &piece : pieces) {
        out.append(piece.literal);
        if (piece.hole == kNoHole) {
            continue;
        }
        if (urlAround(piece)) {
            out.append(u"url(");
            out.append(holeValue(values, piece.hole));
            out.push_back(u')');
        } else {
            out.append(holeValue(values, piece.hole));
        }
    }
}

std::u16string generateCss(const StyleValues &values) {
    std::u16string out;
    generateCss(values, out);
    return out;
}

}  // namespace velmora
