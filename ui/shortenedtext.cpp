#include "shortenedtext.h"

#include <algorithm>

#include "ui/messages.h"

namespace velmora {

std::u16string shortenedText(std::u16string_view value) {
    constexpr std::size_t kShownStart = 80;
    std::size_t shown = std::min(kShownStart, value.size());
    if (shown > 0 && value[shown - 1] >= 0xD800 && value[shown - 1] <= 0xDBFF) {
        --shown;  // not half a character
    }
    std::u16string text(value.substr(0, shown));
    text += messages::kShortenedBefore;
    for (char c : std::to_string(value.size())) {
        text.push_back(static_cast<char16_t>(c));
    }
    text += messages::kShortenedAfter;
    return text;
}

}  // namespace velmora
