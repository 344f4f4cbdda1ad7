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
constexpr unsigned char kFilterSub = 1;
constexpr int kWindowBits = 15;  // a zlib stream, as PNG wants, with the largest window
constexpr int kMemoryLevel = 8;
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

    // Filtered, every byte but the first pixel's is zero: the first row as "the same as the
    // pixel to the left", the others as "the same as the row above". Deflate's run-length mode
    // packs that into a few hundred bytes and does so quickly.
    std::vector<unsigned char> raw(rowBytes * static_cast<std::size_t>(height), 0);
    raw[0] = kFilterSub;
    raw[1] = colour.red;
    raw[2] = colour.green;
    raw[3] = colour.blue;
    if (!opaque) {
        raw[4] = colour.alpha;
    }
    for (std::size_t y = 1; y < static_cast<std::size_t>(height); ++y) {
        raw[y * rowBytes] = kFilterUp;
    }

    z_stream stream{};
    int status =
        deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, kWindowBits, kMemoryLevel, Z_RLE);
    if (status == Z_MEM_ERROR) {
        throw std::bad_alloc();
    }
    if (status != Z_OK) {
        throw std::runtime_error("zlib could not start compressing (status " +
                                 std::to_string(status) + ")");
    }
    std::string packed(deflateBound(&stream, static_cast<uLong>(raw.size())), '\0');
    stream.next_in = raw.data();
    stream.avail_in = static_cast<uInt>(raw.size());
    stream.next_out = reinterpret_cast<Bytef *>(packed.data());
    stream.avail_out = static_cast<uInt>(packed.size());
    status = deflate(&stream, Z_FINISH);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    if (status != Z_STREAM_END) {
        throw std::runtime_error("zlib could not compress the image (status " +
                                 std::to_string(status) + ")");
    }

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
