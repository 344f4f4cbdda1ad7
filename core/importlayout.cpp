#include "importlayout.h"

#include <algorithm>
#include <array>

#include "plan.h"

namespace velmora::importing {

namespace {

Layout buildLayout() {
    const std::vector<Piece> &plan = generationPlan();
    Layout layout;
    layout.lastPiece = static_cast<int>(plan.size()) - 1;
    const auto pieces = plan.size();
    const auto holeCount = pieces - 1;
    for (const Piece &piece : plan) {
        layout.literals.emplace_back(piece.literal);
    }
    layout.literals.back() = trimEnd(layout.literals.back());
    for (std::size_t k = 0; k < pieces; ++k) {
        layout.finders.emplace_back(layout.literals[k]);
        layout.expected.emplace_back(layout.literals[k]);
        if (plan[k].wrapped) {
            layout.expected.back() += u"url(";
        }
        layout.closedExpected.emplace_back();
        if (k > 0 && plan[k - 1].wrapped) {
            layout.closedExpected.back() = u")" + layout.expected.back();
        }
    }
    for (std::size_t k = 0; k < pieces; ++k) {
        layout.closed.push_back(
            std::u16string_view(layout.closedExpected[k])
                .substr(0, layout.closedExpected[k].empty() ? 0 : layout.literals[k].size() + 1));
        layout.closedFinders.emplace_back(layout.closed.back());
    }

    std::array<std::vector<int>, kHoleCount> places;
    for (std::size_t k = 0; k < holeCount; ++k) {
        layout.holes.push_back(plan[k].hole);
        layout.wrapped.push_back(plan[k].wrapped);
        places[static_cast<std::size_t>(plan[k].hole)].push_back(static_cast<int>(k));
    }
    auto placesOf = [&](int k) -> const std::vector<int> & {
        return places[static_cast<std::size_t>(layout.holes[static_cast<std::size_t>(k)])];
    };
    for (std::size_t k = 0; k < holeCount; ++k) {
        const int piece = static_cast<int>(k);
        const std::vector<int> &own = placesOf(piece);
        Kind kind = Kind::Free;
        if (own.size() > 1) {
            kind = own.front() == piece ? Kind::First : Kind::Later;
        } else {
            for (const std::vector<int> &other : places) {
                if (other.size() > 1 && other.front() < piece && piece < other.back()) {
                    kind = Kind::Inner;
                }
            }
        }
        layout.kinds.push_back(kind);
        layout.anchors.emplace_back();
        layout.usesAfter.push_back(kind == Kind::First ? own.size() - 1 : 0);
        if (kind == Kind::First) {
            for (auto place = own.begin() + 1; place != own.end(); ++place) {
                int from = *place;
                layout.anchors.back().push_back({*place, from});
                while (from - 1 > piece && placesOf(from - 1).front() < piece) {
                    layout.anchors.back().push_back({*place, --from});
                }
            }
        }

        layout.fixedAfter.emplace_back();
        for (std::size_t hole = 0; hole < places.size(); ++hole) {
            const std::vector<int> &at = places[hole];
            if (at.size() > 1 && at.front() < piece && at.back() > piece) {
                const auto after =
                    std::count_if(at.begin(), at.end(), [&](int p) { return p > piece; });
                layout.fixedAfter.back().emplace_back(static_cast<int>(hole),
                                                      static_cast<std::size_t>(after));
            }
        }
    }

    layout.literalsFrom.assign(pieces + 1, 0);
    for (std::size_t k = pieces; k-- > 0;) {
        layout.literalsFrom[k] = layout.literalsFrom[k + 1] + layout.literals[k].size();
    }
    return layout;
}

}  // namespace

bool isSpace(char16_t c) {
    switch (c) {
        case u' ':
        case u'\t':
        case u'\n':
        case u'\v':
        case u'\f':
        case u'\r':
        case u'\u0085':
        case u'\u00A0':
        case u'\u1680':
        case u'\u2028':
        case u'\u2029':
        case u'\u202F':
        case u'\u205F':
        case u'\u3000':
        case u'\uFEFF':
            return true;
        default:
            return c >= u'\u2000' && c <= u'\u200A';
    }
}

std::u16string_view trimEnd(std::u16string_view text) {
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

const Layout &layout() {
    static const Layout theLayout = buildLayout();
    return theLayout;
}

}  // namespace velmora::importing
