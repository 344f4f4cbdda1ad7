// The path a file: address names, as its owner reads it on each system.
#include "core/fileaddress.h"

#include <gtest/gtest.h>

#include "core/utf.h"

namespace velmora {
namespace {

struct AddressCase {
    const char *name;
    PathStyle style;
    std::u16string_view address;
    std::optional<std::u16string> path;
};
void PrintTo(const AddressCase &c, std::ostream *os) { *os << c.name; }

class FileAddressTest : public testing::TestWithParam<AddressCase> {};

TEST_P(FileAddressTest, GivesThePathInPlainCharacters) {
    const std::optional<std::u16string> path =
        filePathOfAddress(GetParam().address, GetParam().style);
    EXPECT_EQ(path, GetParam().path) << (path ? utf8FromUtf16(*path) : "nothing");
}

constexpr PathStyle kPosix = PathStyle::Posix;
constexpr PathStyle kWindows = PathStyle::Windows;

INSTANTIATE_TEST_SUITE_P(
    Addresses, FileAddressTest,
    testing::Values(
        AddressCase{"Chinese", kPosix,
                    u"file:///home/%E5%B0%8F%E6%98%8E/%E5%9B%BE%E7%89%87/a%20b.png",
                    u"/home/小明/图片/a b.png"},
        AddressCase{"PercentItself", kPosix, u"file:///tmp/100%25.png", u"/tmp/100%.png"},
        AddressCase{"LoneSignsStay", kPosix, u"file:///tmp/50%.png%zz%4", u"/tmp/50%.png%zz%4"},
        AddressCase{"Localhost", kPosix, u"FILE://localhost/tmp/a.png", u"/tmp/a.png"},
        AddressCase{"FragmentDropped", kPosix, u"file:///tmp/a%23b.png#top", u"/tmp/a#b.png"},
        AddressCase{"Emoji", kPosix, u"file:///tmp/%F0%9F%98%80%29'.png", u"/tmp/😀)'.png"},
        AddressCase{"HalfACharacter", kPosix, u"file:///tmp/%E5.png", std::nullopt},
        AddressCase{"Nul", kPosix, u"file:///tmp/a%00b.png", std::nullopt},
        AddressCase{"OtherComputer", kPosix, u"file://server/share/a.png", std::nullopt},
        AddressCase{"NotAFile", kPosix, u"https://img.alicdn.com/a.png", std::nullopt},
        AddressCase{"Drive", kWindows, u"file:///C:/Users/%E5%B0%8F%E6%98%8E/a%20b.png",
                    u"C:\\Users\\小明\\a b.png"},
        AddressCase{"DriveWithBar", kWindows, u"file:///d|/x.png", u"d:\\x.png"},
        AddressCase{"PercentOnWindows", kWindows, u"file:///C:/100%25/%E5%9B%BE.png",
                    u"C:\\100%\\图.png"},
        AddressCase{"Share", kWindows, u"file://server/share/%E5%9B%BE.png",
                    u"\\\\server\\share\\图.png"}),
    [](const testing::TestParamInfo<AddressCase> &info) { return info.param.name; });

}  // namespace
}  // namespace velmora
