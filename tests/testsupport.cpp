#include "testsupport.h"

#include <array>
#include <fstream>
#include <iterator>
#include <regex>
#include <stdexcept>

#include "replace.h"

namespace velmora::test {

namespace {

// Private-use characters that no test value holds.
constexpr char16_t kFirstMarker = 0xE000;

/** The generation with the given image values written as colours rather than in url(). */
std::u16string generationWith(const StyleValues &values, const std::array<bool, kBoxCount> &bare) {
    std::u16string text(kTemplate);
    for (const Slot &slot : kSlots) {
        const std::u16string &value = values.slot(slot.number);
        const bool url = slot.wrap == Wrap::Url && !bare[static_cast<std::size_t>(slot.number - 1)];
        text = Replace(text, slot.token, url ? u"url(" + value + u")" : value);
    }
    for (std::size_t box = 0; box < kImageBoxes.size(); ++box) {
        const std::u16string placeholder(kImageBoxes[box].placeholder);
        text += bare[kSlotCount + box]
                    ? Replace(kImageBoxes[box].snippet, u"url(" + placeholder + u")",
                              values.images[box])
                    : Replace(kImageBoxes[box].snippet, placeholder, values.images[box]);
    }
    text = Replace(text, u"font-weight:bold", u"Quobrin");
    return Replace(text, u"1px", u"0px");
}

std::array<bool, kBoxCount> colours(const StyleValues &values) {
    std::array<bool, kBoxCount> bare{};
    for (int box = 0; box < kBoxCount; ++box) {
        bare[static_cast<std::size_t>(box)] = looksLikeColour(values.box(box));
    }
    return bare;
}

}  // namespace

bool looksLikeColour(std::u16string_view value) {
    std::string ascii;
    for (char16_t c : value) {
        if (c > 0x7E) {
            return false;
        }
        ascii.push_back(static_cast<char>(c));
    }
    static const std::regex colour(
        "#[0-9a-f]{3}|#[0-9a-f]{6}|black|silver|gray|white|maroon|red|purple|fuchsia|green|lime|"
        "olive|yellow|navy|blue|teal|aqua|orange|"
        "rgb\\( *(25[0-5]|2[0-4][0-9]|1?[0-9]?[0-9]) *(, *(25[0-5]|2[0-4][0-9]|1?[0-9]?[0-9]) "
        "*){2}\\)|"
        "rgb\\( *(100|[0-9]?[0-9])% *(, *(100|[0-9]?[0-9])% *){2}\\)|"
        "rgba\\( *(25[0-5]|2[0-4][0-9]|1?[0-9]?[0-9]) *(, *(25[0-5]|2[0-4][0-9]|1?[0-9]?[0-9]) "
        "*){2}"
        ", *(0|1|0?\\.[0-9]+) *\\)",
        std::regex::icase);
    return std::regex_match(ascii, colour);
}

std::string workedResult() {
    std::ifstream in(VELMORA_TEST_DATA "/worked-result.css", std::ios::binary);
    if (!in) {
        throw std::runtime_error("missing test data worked-result.css");
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::u16string literalGeneration(const StyleValues &values) {
    return generationWith(values, colours(values));
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
    for (char16_t c : generationWith(markers, colours(values))) {
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
