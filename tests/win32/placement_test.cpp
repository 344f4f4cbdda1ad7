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
                    RectCase{"Text4(1)", 144, {24 + 252, 12 + 24, 276 + 362, 36 + 38}},
                    // A prompt ends where its box begins: above it, it would hide the box's border.
                    RectCase{"Label6(7)", 96, {16 + 432, 8 + 119, 16 + 624, 127 + 17}}),
    [](const testing::TestParamInfo<RectCase> &info) {
        std::string name = info.param.id;
        std::erase_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
        return name + "At" + std::to_string(info.param.dpi);
    });

struct FitCase {
    const char *name;
    Rect work;
    SIZE client;
    bool horizontalBar;
    bool verticalBar;
    POINT corner;
};

void PrintTo(const FitCase &c, std::ostream *os) { *os << c.name; }

class FitTest : public testing::TestWithParam<FitCase> {};

// A 732 x 441 client area in a frame of 6 x 29, with 17-pixel bars, on a 1280 x 800 screen.
TEST_P(FitTest, FitsTheWorkAreaAndStaysOnIt) {
    const FitCase &c = GetParam();
    const WindowFit fit = fitToWorkArea({732, 441}, {6, 29}, {17, 17}, c.work);
    EXPECT_EQ(fit.client.cx, c.client.cx);
    EXPECT_EQ(fit.client.cy, c.client.cy);
    EXPECT_EQ(fit.horizontalBar, c.horizontalBar);
    EXPECT_EQ(fit.verticalBar, c.verticalBar);
    EXPECT_EQ(fit.outer.cx, c.client.cx + (c.verticalBar ? 17 : 0) + 6);
    EXPECT_EQ(fit.outer.cy, c.client.cy + (c.horizontalBar ? 17 : 0) + 29);
    const POINT corner = placeOnScreen({0, 0, 1280, 800}, c.work, fit.outer);
    EXPECT_EQ(corner.x, c.corner.x);
    EXPECT_EQ(corner.y, c.corner.y);
}

INSTANTIATE_TEST_SUITE_P(
    WorkAreas, FitTest,
    testing::Values(FitCase{"Whole", {0, 0, 1280, 800}, {732, 441}, false, false, {271, 165}},
                    FitCase{"Unknown", {}, {732, 441}, false, false, {271, 165}},
                    FitCase{"PanelBelow", {0, 0, 1280, 500}, {732, 441}, false, false, {271, 30}},
                    FitCase{"TopBar", {0, 300, 1280, 500}, {732, 441}, false, false, {271, 300}},
                    // Too low: a vertical bar, which takes width, which is still enough.
                    FitCase{"Short", {0, 0, 1280, 400}, {732, 371}, false, true, {263, 0}},
                    // Too narrow and too low: both bars, each taking room from the other.
                    FitCase{"Small", {0, 0, 640, 400}, {617, 354}, true, true, {0, 0}}),
    [](const testing::TestParamInfo<FitCase> &info) { return info.param.name; });

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
