#include "core/play/pixels.h"

#include <cstring>

namespace qv::play {

namespace {

// 5 and 6 bits widened to 8 by repeating their top bits, so that full scale stays full.
constexpr std::uint32_t widen5(std::uint32_t v) {
    return (v << 3) | (v >> 2);
}
constexpr std::uint32_t widen6(std::uint32_t v) {
    return (v << 2) | (v >> 4);
}

template <class Row> void eachRow(const void* data, int height, std::size_t pitch, Row row) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    for (int y = 0; y < height; ++y)
        row(y, bytes + static_cast<std::size_t>(y) * pitch);
}

} // namespace

void convertFrame(PixelFormat format, const void* data, int width, int height, std::size_t pitch,
                  Frame& out) {
    out.width = width;
    out.height = height;
    out.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    std::uint32_t* dst = out.pixels.data();
    const auto w = static_cast<std::size_t>(width);
    switch (format) {
    case PixelFormat::Xrgb8888:
        eachRow(data, height, pitch, [&](int y, const std::uint8_t* src) {
            std::uint32_t* d = dst + static_cast<std::size_t>(y) * w;
            std::memcpy(d, src, w * 4);
            for (std::size_t x = 0; x < w; ++x)
                d[x] |= 0xFF000000u; // the unused byte may hold anything
        });
        break;
    case PixelFormat::Rgb565:
        eachRow(data, height, pitch, [&](int y, const std::uint8_t* src) {
            std::uint32_t* d = dst + static_cast<std::size_t>(y) * w;
            for (std::size_t x = 0; x < w; ++x) {
                std::uint16_t p;
                std::memcpy(&p, src + 2 * x, 2);
                d[x] = 0xFF000000u | widen5(p >> 11) << 16 | widen6((p >> 5) & 63) << 8 |
                       widen5(p & 31);
            }
        });
        break;
    case PixelFormat::Rgb1555:
        eachRow(data, height, pitch, [&](int y, const std::uint8_t* src) {
            std::uint32_t* d = dst + static_cast<std::size_t>(y) * w;
            for (std::size_t x = 0; x < w; ++x) {
                std::uint16_t p;
                std::memcpy(&p, src + 2 * x, 2);
                d[x] = 0xFF000000u | widen5((p >> 10) & 31) << 16 | widen5((p >> 5) & 31) << 8 |
                       widen5(p & 31);
            }
        });
        break;
    }
}

} // namespace qv::play
