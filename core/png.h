#pragma once

#include <string>

#include "core/valuecheck.h"

namespace velmora {

/** The navigation bar's size in pixels: a background made for it covers it whole. */
inline constexpr int kBarWidth = 950;
inline constexpr int kBarHeight = 30;

/**
 * A PNG image of width by height pixels, every one of them colour: 8-bit RGB when the colour is
 * opaque, RGBA otherwise. The same arguments always give the same bytes, on every system built
 * with the same zlib. A plain colour compresses to a few hundred bytes.
 * @throws std::invalid_argument when width or height is below 1 or above 65535;
 *         std::bad_alloc when memory runs out.
 */
std::string solidPng(Rgba colour, int width = kBarWidth, int height = kBarHeight);

}  // namespace velmora
