#pragma once
// The compare loops patch creation can run on, so that tests can hold them against
// each other: create() takes the widest one the processor has.
#include <cstdint>
#include <span>

#include "core/ips/ips.h"

namespace qv::ips::detail {

enum class Scan { Basic, Avx2, Avx512 };

// Whether this build and this processor can run the scan. Basic always can.
bool scanAvailable(Scan scan);

// create() with the given scan, which must be available.
Created createWith(Scan scan, std::span<const std::uint8_t> base,
                   std::span<const std::uint8_t> edited);

} // namespace qv::ips::detail
