#include "plan.h"

#include <algorithm>
#include <span>

#include "valuecheck.h"

namespace velmora {

namespace {

/** A search string of the built-in texts and what stands in for it. */
struct Rule {
    std::u16string_view search;
    std::u16string_view literal;  ///< fixed replacement text, when hole is kNoHole
    int hole;                     ///< otherwise the value that goes there: a slot or image box
    Wrap wrap;
};

/**
 * Splits a built-in text into fixed pieces and value holes in one left-to-right pass. At each
 * position the first rule that matches wins, which gives lower-numbered slots precedence over
 * a shared token; fixed replacements are applied here, so they never touch a value.
 */
void compile(std::u16string_view text, std::span<const Rule> rules, std::vector<Piece> &pieces) {
    std::u16string current;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const Rule *match = nullptr;
        for (const Rule &rule : rules) {
            if (text.substr(pos).starts_with(rule.search)) {
                match = &rule;
                break;
            }
        }
        if (match == nullptr) {
            current.push_back(text[pos]);
            ++pos;
            continue;
        }
        pos += match->search.size();
        if (match->hole == kNoHole) {
            current.append(match->literal);
            continue;
        }
        pieces.push_back({std::move(current), match->hole, match->wrap == Wrap::Url});
        current.clear();
    }
    pieces.push_back({std::move(current), kNoHole, false});
}

std::vector<Piece> buildPlan() {
    const Rule mark{kBoldDeclaration, kBoldMark, kNoHole, Wrap::Plain};
    const Rule width{kThinWidth, kZeroWidth, kNoHole, Wrap::Plain};

    std::vector<Rule> templateRules;
    for (const Slot &slot : kSlots) {
        templateRules.push_back({slot.token, {}, slot.number - 1, slot.wrap});
    }
    templateRules.push_back(mark);
    templateRules.push_back(width);

    std::vector<Piece> plan;
    compile(kTemplate, templateRules, plan);
    for (int box = 0; box < kImageBoxCount; ++box) {
        const ImageBox &image = kImageBoxes[static_cast<std::size_t>(box)];
        // The placeholder stands in "url(...)", which the hole writes itself.
        const std::u16string wrapped = u"url(" + std::u16string(image.placeholder) + u")";
        const Rule snippetRules[] = {{wrapped, {}, kFirstImageHole + box, Wrap::Url}, mark, width};
        compile(image.snippet, snippetRules, plan);
    }
    // Each text ends in a piece without a hole; join it to the piece that follows.
    std::vector<Piece> joined;
    for (Piece &piece : plan) {
        if (!joined.empty() && joined.back().hole == kNoHole) {
            joined.back().literal += piece.literal;
            joined.back().hole = piece.hole;
            joined.back().wrapped = piece.wrapped;
        } else {
            joined.push_back(std::move(piece));
        }
    }
    return joined;
}

}  // namespace

const std::vector<Piece> &generationPlan() {
    static const std::vector<Piece> thePlan = buildPlan();
    return thePlan;
}

bool writtenAsColour(std::u16string_view value) {
    // parseColour's forms are "#" and three or six digits, names of at most seven letters, and
    // rgb() or rgba(); anything else is refused here without its copy in lower case.
    if (value.empty()) {
        return false;
    }
    if (value.front() == u'#') {
        return (value.size() == 4 || value.size() == 7) && parseColour(value).has_value();
    }
    const auto lower = [&](std::size_t i) { return value[i] | 0x20; };
    if (value.size() <= 7) {
        const bool letters = std::all_of(value.begin(), value.end(), [](char16_t c) {
            return (c | 0x20) >= u'a' && (c | 0x20) <= u'z';
        });
        return letters && parseColour(value).has_value();
    }
    const bool function = lower(0) == u'r' && lower(1) == u'g' && lower(2) == u'b';
    return function && parseColour(value).has_value();
}

const std::u16string &holeValue(const StyleValues &values, int hole) {
    return hole < kFirstImageHole ? values.slots[static_cast<std::size_t>(hole)]
                                  : values.images[static_cast<std::size_t>(hole - kFirstImageHole)];
}

std::u16string &holeValue(StyleValues &values, int hole) {
    return hole < kFirstImageHole ? values.slots[static_cast<std::size_t>(hole)]
                                  : values.images[static_cast<std::size_t>(hole - kFirstImageHole)];
}

}  // namespace velmora
