#include "ui/win32/placement.h"

#include <gtest/gtest.h>

#include "ui/win32/uifont.h"

namespace velmora {
namespace {

struct RectCase {
    const char *id;
    UINT dpi;
    RECT expected;
};

void PrintTo(const RectCase &c, std::ostream *os) { *os << c.id << " at " << c.dpi; }

class ControlRectTest : public testing::TestWithParam<RectCase> {};

TEST_P(ControlRectTest, PlacesInTheClientAreaAtTheDpi) {
    const RECT got = controlRect(controlById(GetParam().id), GetParam().dpi);
    const RECT &expected = GetParam().expected;
    EXPECT_EQ(got.left, expected.left);
    EXPECT_EQ(got.top, expected.top);
    EXPECT_EQ(got.right, expected.right);
    EXPECT_EQ(got.bottom, expected.bottom);
}

// Frame2 is at (240, 120) twips; Text4(1) at (2520, 240) in it, 3615 x 375 twips.
INSTANTIATE_TEST_SUITE_P(
    Controls, ControlRectTest,
    testing::Values(RectCase{"Frame2", 96, {16, 8, 16 + 713, 8 + 385}},
                    RectCase{"Text4(1)", 96, {16 + 168, 8 + 16, 184 + 241, 24 + 25}},
                    RectCase{"Text4(1)", 144, {24 + 252, 12 + 24, 276 + 362, 36 + 38}}),
    [](const testing::TestParamInfo<RectCase> &info) {
        std::string name = info.param.id;
        std::erase_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
        return name + "At" + std::to_string(info.param.dpi);
    });

TEST(Placement, MainWindowSizeGivesTheTablesClientArea) {
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    const SIZE size = mainWindowSize(style, 96);
    HWND window = CreateWindowExW(0, L"STATIC", L"", style, 0, 0, size.cx, size.cy, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    RECT client{};
    GetClientRect(window, &client);
    DestroyWindow(window);
    EXPECT_EQ(client.right, pixels(kClientWidthTwips));
    EXPECT_EQ(client.bottom, pixels(kClientHeightTwips));
}

TEST(Placement, BoxesStartWithTheirValuesAndOthersWithTheirCaptions) {
    StyleValues values = startValues();
    values.slot(1) = u"#123456";
    values.images[0] = u"https://img.alicdn.com/a.jpg";
    EXPECT_EQ(startText(controlById("Text4(1)"), values), u"#123456");
    EXPECT_EQ(startText(controlById(kImageBoxes[0].name), values), values.images[0]);
    const ControlDef &button = controlById("Command2");
    EXPECT_EQ(startText(button, values), button.text);
}

TEST(UiFont, IsNinePointsAtTheDpi) {
    for (const UINT dpi : {96U, 144U}) {
        HFONT font = createUiFont(dpi);
        ASSERT_NE(font, nullptr);
        LOGFONTW logFont{};
        GetObjectW(font, sizeof logFont, &logFont);
        DeleteObject(font);
        EXPECT_EQ(logFont.lfHeight, -MulDiv(9, static_cast<int>(dpi), 72)) << dpi;
        EXPECT_STREQ(logFont.lfFaceName, chineseFace()) << dpi;
    }
}

}  // namespace
}  // namespace velmora
