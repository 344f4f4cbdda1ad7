#include "testsupport.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "replace.h"

namespace velmora::test {

namespace {

// Private-use characters that no test value holds.
constexpr char16_t kFirstMarker = 0xE000;

}  // namespace

std::string workedResult() {
    std::ifstream in(VELMORA_TEST_DATA "/worked-result.css", std::ios::binary);
    if (!in) {
        throw std::runtime_error("missing test data worked-result.css");
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::u16string literalGeneration(const StyleValues &values) {
    std::u16string text(kTemplate);
    for (const Slot &slot : kSlots) {
        const std::u16string &value = values.slot(slot.number);
        text = Replace(text, slot.token, slot.wrap == Wrap::Url ? u"url(" + value + u")" : value);
    }
    for (std::size_t box = 0; box < kImageBoxes.size(); ++box) {
        text += Replace(kImageBoxes[box].snippet, kImageBoxes[box].placeholder, values.images[box]);
    }
    text = Replace(text, u"font-weight:bold", u"Quobrin");
    return Replace(text, u"1px", u"0px");
}

std::u16string expectedGeneration(const StyleValues &values) {
    StyleValues markers;
    for (std::size_t i = 0; i < markers.slots.size(); ++i) {
        markers.slots[i] = std::u16string(1, static_cast<char16_t>(kFirstMarker + i));
    }
    for (std::size_t i = 0; i < markers.images.size(); ++i) {
        markers.images[i] = std::u16string(1, static_cast<char16_t>(kFirstMarker + kSlotCount + i));
    }
    std::u16string expected;
    for (char16_t c : literalGeneration(markers)) {
        const auto index = static_cast<std::size_t>(c - kFirstMarker);
        if (c < kFirstMarker || index >= kSlotCount + kImageBoxCount) {
            expected.push_back(c);
        } else if (index < kSlotCount) {
            expected += values.slots[index];
        } else {
            expected += values.images[index - kSlotCount];
        }
    }
    return expected;
}

}  // namespace velmora::test
