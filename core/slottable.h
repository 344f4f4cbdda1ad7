#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace velmora {

/** How a slot's value is written over its token. */
enum class Wrap {
    Plain,  ///< the value replaces the token unchanged (colours)
    Url,    ///< the token becomes "url(" value ")" (image addresses)
};

/** One of the eighteen style inputs of the navigation bar. */
struct Slot {
    int number;                      ///< 1 to 18; also the index of its box Text4(number)
    bool shown;                      ///< whether the box and its prompt are visible in the window
    std::u16string_view prompt;      ///< caption of the label beside the box
    std::u16string_view token;       ///< placeholder colour in the template, compared exactly
    Wrap wrap;                       ///< plain colour or wrapped image address
    std::u16string_view startValue;  ///< what the box holds when the program starts
};

inline constexpr int kSlotCount = 18;

/** The start image addresses: A for the navigation background, B for the hover backgrounds,
 *  C for the all-categories and first drop-down backgrounds. */
inline constexpr std::u16string_view kImageA =
    u"https://img.alicdn.com/imgextra/i3/2206593787245/O1CN01aVmRqZ2JTdGkXbW8s_!!2206593787245.jpg";
inline constexpr std::u16string_view kImageB =
    u"https://img.alicdn.com/imgextra/i2/2206593787245/O1CN01LhQeTz2JTdGnY6zKm_!!2206593787245.jpg";
inline constexpr std::u16string_view kImageC =
    u"https://img.alicdn.com/imgextra/i4/2206593787245/O1CN01Rt9HwE2JTdGjc5UoF_!!2206593787245.gif";

inline constexpr std::u16string_view kWhite = u"#FFFFFF";
inline constexpr std::u16string_view kUnnamedPrompt = u"Label6";

/** The slot table, in ascending order of number: kSlots[i] is slot i + 1. */
inline constexpr std::array<Slot, kSlotCount> kSlots{{
    {1, true, u"导航背景图：", u"#000000", Wrap::Url, kImageA},
    {2, true, u"导航文字颜色：", u"#333333", Wrap::Plain, kWhite},
    {3, false, u"导航分隔竖线颜色：", u"#666666", Wrap::Plain, u""},
    {4, true, u"鼠标移至,导航背景图：", u"#999999", Wrap::Url, kImageB},
    {5, false, kUnnamedPrompt, u"#dddddd", Wrap::Url, u"Text4"},
    {6, true, u"所有分类背景图：", u"#000099", Wrap::Url, kImageC},
    {7, true, u"所有分类文字颜色：", u"#009900", Wrap::Plain, kWhite},
    {8, true, u"鼠标移至,所有分类背景图：", u"#00cccc", Wrap::Url, kImageB},
    {9, false, u"鼠标移至,所有分类文字颜色：", u"#cc0066", Wrap::Plain, u""},
    {10, true, u"一级下拉菜单背景图：", u"#99ff00", Wrap::Url, kImageC},
    {11, true, u"一级下拉菜单文字颜色：", u"#ff0000", Wrap::Plain, kWhite},
    {12, false, kUnnamedPrompt, u"#00FF00", Wrap::Url, u""},
    {13, false, kUnnamedPrompt, u"#33cc33", Wrap::Url, u""},
    {14, false, u"鼠标移至,一级下拉菜单文字颜色：", u"#333333", Wrap::Plain, u""},
    {15, false, kUnnamedPrompt, u"#99ff00", Wrap::Url, u""},
    {16, true, u"二级下拉菜单文字颜色：", u"#3300cc", Wrap::Plain, kWhite},
    {17, false, kUnnamedPrompt, u"#33cccc", Wrap::Url, u""},
    {18, false, u"鼠标移至,二级下拉菜单文字颜色：", u"#0000ff", Wrap::Plain, u""},
}};

/**
 * The slot with the given number.
 * @throws std::out_of_range when number is not 1 to 18.
 */
const Slot &slotByNumber(int number);

/** The slot number written as plain decimal digits ("7", "07"), or nothing when text is not
 *  such a number from 1 to 18 (signs, spaces and other characters included). */
std::optional<int> parseSlotNumber(std::string_view text);

}  // namespace velmora
