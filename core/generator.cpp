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

namespace {

/**
 * Each piece's literal in its four forms: after a hole written in url() or not ("))" first or
 * not), before one or not ("url(" last or not), so that a piece is one append.
 */
using Forms = std::array<std::u16string, 4>;

std::size_t formOf(bool closes, bool opens) { return (closes ? 2 : 0) + (opens ? 1 : 0); }

const std::vector<Forms> &literalForms() {
    static const std::vector<Forms> theForms = [] {
        std::vector<Forms> forms;
        for (const Piece &piece : generationPlan()) {
            Forms &f = forms.emplace_back();
            for (bool closes : {false, true}) {
                for (bool opens : {false, true}) {
                    f[formOf(closes, opens)] =
                        (closes ? u")" : u"") + piece.literal + (opens ? u"url(" : u"");
                }
            }
        }
        return forms;
    }();
    return theForms;
}

}  // namespace

void generateCss(const StyleValues &values, std::u16string &out) {
    const std::vector<Piece> &pieces = generationPlan();
    const std::vector<Forms> &forms = literalForms();
    // Whether each value is a colour is decided once, not at each of its places.
    static const std::vector<int> wrappedHoles = [] {
        std::vector<int> holes;
        for (int hole = 0; hole < kHoleCount; ++hole) {
            if (isImageBox(hole)) {
                holes.push_back(hole);
            }
        }
        return holes;
    }();
    std::array<bool, kHoleCount> url{};
    for (int hole : wrappedHoles) {
        url[static_cast<std::size_t>(hole)] = !writtenAsColour(holeValue(values, hole));
    }
    const auto urlAt = [&](std::size_t k) {
        return pieces[k].wrapped && url[static_cast<std::size_t>(pieces[k].hole)];
    };
    std::size_t size = 0;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        size += pieces[k].literal.size();
        if (pieces[k].hole != kNoHole) {
            size += holeValue(values, pieces[k].hole).size() + (urlAt(k) ? 5 : 0);
        }
    }
    out.clear();
    out.reserve(size);
    bool closes = false;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        const bool opens = urlAt(k);
        out.append(forms[k][formOf(closes, opens)]);
        if (pieces[k].hole != kNoHole) {
            out.append(holeValue(values, pieces[k].hole));
        }
        closes = opens;
    }
}

std::u16string generateCss(const StyleValues &values) {
    std::u16string out;
    generateCss(values, out);
    return out;
}

}  // namespace velmora
