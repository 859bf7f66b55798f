#pragma once
// The program icon's sizes as decoded pixels, generated at build time from the
// hicolor PNGs (tools/embedicons.cpp), smallest first.
#include <span>

namespace qv {

struct IconPixels {
    int width;
    int height;
    long long bytesPerLine;
    int format; // a QImage::Format
    const unsigned char* bits;
};

std::span<const IconPixels> programIconPixels();

} // namespace qv
