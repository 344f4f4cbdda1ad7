#include "png.h"

#include <zlib.h>

#include <cstdint>
#include <new>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace velmora {

namespace {

constexpr std::string_view kSignature = "\x89PNG\r\n\x1A\n";
constexpr int kLargestSide = 65535;
constexpr unsigned char kColourTypeRgb = 2;
constexpr unsigned char kColourTypeRgba = 6;
constexpr unsigned char kFilterNone = 0;
constexpr unsigned char kFilterUp = 2;

void appendBigEndian(std::string &out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

void appendChunk(std::string &out, std::string_view type, std::string_view data) {
    appendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.append(type);
    out.append(data);
    const auto *checked = reinterpret_cast<const Bytef *>(out.data() + typeAt);
    appendBigEndian(
        out, static_cast<std::uint32_t>(crc32(0, checked, static_cast<uInt>(out.size() - typeAt))));
}

}  // namespace

std::string solidPng(Rgba colour, int width, int height) {
    if (width < 1 || height < 1 || width > kLargestSide || height > kLargestSide) {
        throw std::invalid_argument("an image's sides must be 1 to 65535 pixels");
    }
    const bool opaque = colour.alpha == 255;
    const std::size_t pixelBytes = opaque ? 3 : 4;
    const std::size_t rowBytes = 1 + pixelBytes * static_cast<std::size_t>(width);

    // Every row after the first is filtered as "the same as the row above": all zeros, which
    // deflate packs into almost nothing.
    std::vector<unsigned char> raw(rowBytes * static_cast<std::size_t>(height), 0);
    raw[0] = kFilterNone;
    for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x) {
        unsigned char *pixel = &raw[1 + x * pixelBytes];
        pixel[0] = colour.red;
        pixel[1] = colour.green;
        pixel[2] = colour.blue;
        if (!opaque) {
            pixel[3] = colour.alpha;
        }
    }
    for (std::size_t y = 1; y < static_cast<std::size_t>(height); ++y) {
        raw[y * rowBytes] = kFilterUp;
    }

    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    const int status = compress2(reinterpret_cast<Bytef *>(packed.data()), &packedSize, raw.data(),
                                 static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION);
    if (status == Z_MEM_ERROR) {
        throw std::bad_alloc();
    }
    if (status != Z_OK) {
        throw std::runtime_error("zlib could not compress the image (status " +
                                 std::to_string(status) + ")");
    }
    packed.resize(packedSize);

    std::string header;
    appendBigEndian(header, static_cast<std::uint32_t>(width));
    appendBigEndian(header, static_cast<std::uint32_t>(height));
    header.push_back(8);  // bits per channel
    header.push_back(static_cast<char>(opaque ? kColourTypeRgb : kColourTypeRgba));
    header.append(3, '\0');  // deflate, adaptive filtering, no interlacing

    std::string png(kSignature);
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", packed);
    appendChunk(png, "IEND", {});
    return png;
}

}  // namespace velmora
