#pragma once
// Reading a patch file with the checks the apply command makes before it looks
// inside; the format itself is in ips.h.
#include <cstdint>
#include <string>
#include <vector>

#include "core/ips/ips.h"

namespace qv::ips {

// Far more than any patch of a 16 MiB address space needs; larger files are refused.
inline constexpr std::uintmax_t kMaxPatchFileSize = 64u << 20;

struct PatchFile {
    Status status;
    std::vector<std::uint8_t> bytes; // the whole file, when ok
};
// Existence, then the extension ".ips" (any case, unless not required), then a
// size of at least 8 bytes; a file that cannot be read counts as a bad size.
PatchFile readPatchFile(const std::string& path, bool requireIpsExtension = true);

} // namespace qv::ips
