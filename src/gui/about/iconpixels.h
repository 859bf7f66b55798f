#pragma once
// Icons as pixels, generated at build time (tools/embedicons.cpp): the program
// icon's sizes decoded from the hicolor PNGs, and the tool bar's images.
#include <span>

namespace qv {

struct IconPixels {
    int width;
    int height;
    long long bytesPerLine;
    int format; // a QImage::Format
    const unsigned char* bits;
};

// The program icon, smallest size first.
std::span<const IconPixels> programIconPixels();
// The tool bar's images in the order toolIcon() numbers them, each at its sizes in turn
// (16, 24, 32 and 48 pixels: drawn for device pixel ratios 1, 1.5, 2 and 3).
std::span<const IconPixels> toolImagePixels();

} // namespace qv
