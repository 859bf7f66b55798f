#pragma once
// A core's video frame, in whichever pixel format it chose, as 32-bit pixels
// 0xFFRRGGBB (the layout of QImage::Format_RGB32 and of the screenshot writer).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv::play {

enum class PixelFormat { Rgb1555 = 0, Xrgb8888 = 1, Rgb565 = 2 };

struct Frame {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // width * height, row after row

    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// Converts `height` rows of `width` pixels, `pitch` bytes apart, into `out`.
void convertFrame(PixelFormat format, const void* data, int width, int height, std::size_t pitch,
                  Frame& out);

} // namespace qv::play
