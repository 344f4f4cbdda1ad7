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

}  // namespace velmora
