#include "core/play/png.h"

#include <csetjmp>
#include <cstdint>
#include <png.h>
#include <vector>

#include "core/fileio.h"

namespace qv::play {

namespace {

void append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flush(png_structp) {}

} // namespace

bool writePng(const std::string& path, const Frame& frame, std::string& error) {
    if (frame.width <= 0 || frame.height <= 0) {
        error = "there is no picture yet";
        return false;
    }
    // Encoded in memory, then written whole.
    std::vector<std::uint8_t> encoded;
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(frame.width) * 3 *
                                   static_cast<std::size_t>(frame.height));
    for (std::size_t i = 0; i < frame.pixels.size(); ++i) {
        const std::uint32_t p = frame.pixels[i];
        rows[3 * i] = static_cast<std::uint8_t>(p >> 16);
        rows[3 * i + 1] = static_cast<std::uint8_t>(p >> 8);
        rows[3 * i + 2] = static_cast<std::uint8_t>(p);
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        error = "out of memory";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = "the picture could not be encoded";
        return false;
    }
    png_set_write_fn(png, &encoded, &append, &flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(frame.width),
                 static_cast<png_uint_32>(frame.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < frame.height; ++y)
        png_write_row(png, rows.data() + static_cast<std::size_t>(y) * 3 *
                                             static_cast<std::size_t>(frame.width));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);

    const WriteResult r = writeFileAtomic(path, encoded);
    if (!r.ok) error = r.error;
    return r.ok;
}

} // namespace qv::play
