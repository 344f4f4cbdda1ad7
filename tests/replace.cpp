#include "replace.h"

namespace velmora {

std::u16string Replace(std::u16string_view text, std::u16string_view search,
                       std::u16string_view replacement) {
    if (search.empty()) {
        return std::u16string(text);
    }
    std::u16string result;
    result.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t at = text.find(search); at != std::u16string_view::npos;
         at = text.find(search, from)) {
        result.append(text.substr(from, at - from));
        result.append(replacement);
        from = at + search.size();
    }
    result.append(text.substr(from));
    return result;
}

}  // namespace velmora
