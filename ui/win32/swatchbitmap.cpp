#include "swatchbitmap.h"

#include <cstdint>

#include "ui/paletteswatch.h"
#include "ui/win32/win32text.h"

namespace velmora {

HBITMAP createSwatchBitmap(const Palette *palette, UINT dpi) {
    const int width = scaledPx(kSwatchWidthPx, dpi);
    const int height = scaledPx(kSwatchHeightPx, dpi);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) {
        return nullptr;
    }
    // Menus draw a 32-bit bitmap through its alpha: every pixel is opaque.
    auto *pixel = static_cast<std::uint32_t *>(bits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb colour = swatchPixel(palette, x, y, width, height);
            *pixel++ = 0xFF000000U | (std::uint32_t{colour.red} << 16) |
                       (std::uint32_t{colour.green} << 8) | colour.blue;
        }
    }
    GdiFlush();
    return bitmap;
}

}  // namespace velmora
