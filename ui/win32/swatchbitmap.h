#pragma once

// A palette's swatch (paletteswatch.h) as the bitmap of its menu entry.

#include <windows.h>

#include "core/palettes.h"

namespace velmora {

/** The swatch's size at 96 dpi, in pixels. */
inline constexpr int kSwatchWidthPx = 32;
inline constexpr int kSwatchHeightPx = 16;

/**
 * A 32-bit, opaque bitmap of the palette's swatch (no palette: 按主色生成…'s), kSwatchWidthPx by
 * kSwatchHeightPx scaled to dpi, for a menu entry (MIIM_BITMAP); the caller deletes it. nullptr
 * when the system cannot make it: the entry then has its name only.
 */
HBITMAP createSwatchBitmap(const Palette *palette, UINT dpi);

}  // namespace velmora
