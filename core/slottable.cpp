#include "slottable.h"

#include <stdexcept>
#include <string>

namespace velmora {

const Slot &slotByNumber(int number) {
    if (number < 1 || number > kSlotCount) {
        throw std::out_of_range("no slot " + std::to_string(number) + "; slots are 1 to 18");
    }
    return kSlots[static_cast<std::size_t>(number - 1)];
}

std::optional<int> parseSlotNumber(std::string_view text) {
    if (text.empty() || text.size() > 2 ||
        text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    const int number = text.size() == 1 ? text[0] - '0' : (text[0] - '0') * 10 + (text[1] - '0');
    if (number < 1 || number > kSlotCount) {
        return std::nullopt;
    }
    return number;
}

}  // namespace velmora
