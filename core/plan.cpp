#include "plan.h"

#include <span>

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
        const bool url = match->wrap == Wrap::Url;
        if (url) {
            current.append(u"url(");
        }
        pieces.push_back({std::move(current), match->hole});
        current.clear();
        if (url) {
            current.push_back(u')');
        }
    }
    pieces.push_back({std::move(current), kNoHole});
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
        const Rule snippetRules[] = {
            {image.placeholder, {}, kFirstImageHole + box, Wrap::Plain}, mark, width};
        compile(image.snippet, snippetRules, plan);
    }
    // Each text ends in a piece without a hole; join it to the piece that follows.
    std::vector<Piece> joined;
    for (Piece &piece : plan) {
        if (!joined.empty() && joined.back().hole == kNoHole) {
            joined.back().literal += piece.literal;
            joined.back().hole = piece.hole;
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

const std::u16string &holeValue(const StyleValues &values, int hole) {
    return hole < kFirstImageHole ? values.slots[static_cast<std::size_t>(hole)]
                                  : values.images[static_cast<std::size_t>(hole - kFirstImageHole)];
}

std::u16string &holeValue(StyleValues &values, int hole) {
    return hole < kFirstImageHole ? values.slots[static_cast<std::size_t>(hole)]
                                  : values.images[static_cast<std::size_t>(hole - kFirstImageHole)];
}

}  // namespace velmora
