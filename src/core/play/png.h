#pragma once
// A frame as a PNG file (libpng), 8-bit RGB.
#include <string>

#include "core/play/pixels.h"

namespace qv::play {

// The file is replaced only by a complete new one; false with `error` set when it
// cannot be written.
bool writePng(const std::string& path, const Frame& frame, std::string& error);

} // namespace qv::play
