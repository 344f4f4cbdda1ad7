#include "core/png.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace velmora {
namespace {

/** A PNG read back: its size, colour type and every pixel as RGBA. */
struct Decoded {
    std::uint32_t width = 0, height = 0;
    int colourType = -1;
    std::vector<Rgba> pixels;
};

std::uint32_t bigEndian(std::string_view bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

/** Decodes an 8-bit, non-interlaced RGB or RGBA PNG, checking every chunk's CRC. */
Decoded decode(std::string_view png) {
    Decoded image;
    EXPECT_EQ(png.substr(0, 8), std::string_view("\x89PNG\r\n\x1A\n", 8));
    std::string packed;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = bigEndian(png.substr(at));
        const std::string_view typed = png.substr(at + 4, 4 + length);
        EXPECT_EQ(bigEndian(png.substr(at + 8 + length)),
                  crc32(0, reinterpret_cast<const Bytef *>(typed.data()),
                        static_cast<uInt>(typed.size())));
        const std::string_view type = typed.substr(0, 4), data = typed.substr(4);
        if (type == "IHDR") {
            image.width = bigEndian(data);
            image.height = bigEndian(data.substr(4));
            EXPECT_EQ(data[8], 8);  // bits per channel
            EXPECT_EQ(data.substr(10), std::string(3, '\0'));
            image.colourType = data[9];
        } else if (type == "IDAT") {
            packed.append(data);
        }
        at += 12 + length;
    }
    const std::size_t channels = image.colourType == 6 ? 4 : 3;
    const std::size_t stride = channels * image.width;
    std::vector<unsigned char> raw((stride + 1) * image.height);
    uLongf rawSize = static_cast<uLongf>(raw.size());
    EXPECT_EQ(uncompress(raw.data(), &rawSize, reinterpret_cast<const Bytef *>(packed.data()),
                         static_cast<uLong>(packed.size())),
              Z_OK);
    EXPECT_EQ(rawSize, raw.size());
    std::vector<unsigned char> previous(stride, 0), row(stride);
    for (std::uint32_t y = 0; y < image.height; ++y) {
        const unsigned char filter = raw[y * (stride + 1)];
        for (std::size_t i = 0; i < stride; ++i) {
            const int a = i >= channels ? row[i - channels] : 0, b = previous[i],
                      c = i >= channels ? previous[i - channels] : 0;
            const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b),
                      pc = std::abs(p - c);
            const int predictors[] = {0, a, b, (a + b) / 2,
                                      pa <= pb && pa <= pc ? a
                                      : pb <= pc           ? b
                                                           : c};
            row[i] = static_cast<unsigned char>(raw[y * (stride + 1) + 1 + i] + predictors[filter]);
        }
        for (std::size_t x = 0; x < image.width; ++x) {
            const unsigned char *p = &row[x * channels];
            image.pixels.push_back({p[0], p[1], p[2], channels == 4 ? p[3] : std::uint8_t{255}});
        }
        previous = row;
    }
    return image;
}

struct PngCase {
    std::u16string value;
    Rgba colour;
};

TEST(SolidPng, EveryPixelIsTheColourTheValueNames) {
    std::vector<PngCase> cases = {
        {u"#F60", {255, 102, 0}},
        {u"#0a0B0c", {10, 11, 12}},
        {u"rgb(1, 2, 255)", {1, 2, 255}},
        {u"rgb(100%,50%,0%)", {255, 128, 0}},
        {u"rgba(255,102,0,0.5)", {255, 102, 0, 128}},
        {u"rgba(0,0,0,0)", {0, 0, 0, 0}},
        {u"RGBA(10,20,30,40%)", {10, 20, 30, 102}},
        {u"rgba(1,2,3,1)", {1, 2, 3, 255}},
        // CSS's values of the names the shop editor keeps.
        {u"black", {0, 0, 0}},
        {u"silver", {192, 192, 192}},
        {u"gray", {128, 128, 128}},
        {u"white", {255, 255, 255}},
        {u"maroon", {128, 0, 0}},
        {u"red", {255, 0, 0}},
        {u"purple", {128, 0, 128}},
        {u"fuchsia", {255, 0, 255}},
        {u"green", {0, 128, 0}},
        {u"lime", {0, 255, 0}},
        {u"olive", {128, 128, 0}},
        {u"yellow", {255, 255, 0}},
        {u"navy", {0, 0, 128}},
        {u"blue", {0, 0, 255}},
        {u"teal", {0, 128, 128}},
        {u"aqua", {0, 255, 255}},
        {u"orange", {255, 165, 0}},
    };
    for (std::string_view name : kKeptColourNames) {
        EXPECT_TRUE(std::any_of(cases.begin(), cases.end(), [&](const PngCase &c) {
            return c.value == std::u16string(name.begin(), name.end());
        })) << name;
    }
    EXPECT_EQ(cases[8].colour, (Rgba{0, 0, 0})) << "black";
    EXPECT_EQ(cases.back().colour, (Rgba{255, 165, 0})) << "orange";
    for (const PngCase &c : cases) {
        const std::optional<Rgba> colour = parseColourWithAlpha(c.value);
        ASSERT_EQ(colour, c.colour) << std::string(c.value.begin(), c.value.end());
        const std::string png = solidPng(*colour);
        const Decoded image = decode(png);
        EXPECT_EQ(image.width, 950U);
        EXPECT_EQ(image.height, 30U);
        EXPECT_EQ(image.colourType, c.colour.alpha == 255 ? 2 : 6);
        ASSERT_EQ(image.pixels.size(), 950U * 30U);
        for (std::size_t i = 0; i < image.pixels.size(); ++i) {
            ASSERT_EQ(image.pixels[i], c.colour) << "pixel " << i;
        }
        EXPECT_LT(png.size(), 1000U);
        EXPECT_EQ(solidPng(*colour), png) << "the same bytes twice";
    }
}

TEST(SolidPng, RefusesSidesNoPngCanHave) {
    EXPECT_THROW(solidPng({}, 0, 30), std::invalid_argument);
    EXPECT_THROW(solidPng({}, 950, 65536), std::invalid_argument);
    EXPECT_EQ(decode(solidPng({1, 2, 3}, 65535, 1)).pixels, std::vector<Rgba>(65535, {1, 2, 3}));
    EXPECT_EQ(decode(solidPng({1, 2, 3}, 1, 1)).pixels, std::vector<Rgba>{(Rgba{1, 2, 3})});
}

}  // namespace
}  // namespace velmora
