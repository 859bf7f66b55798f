#pragma once
// The file's last-write time in the two-second packed form:
// bits 0-4 seconds/2, 5-10 minutes, 11-15 hours, 16-20 day, 21-24 month, 25-31 years since 1980.
#include <cstdint>
#include <optional>
#include <string>

namespace qv {

struct StampFields {
    int year = 1980, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

std::uint32_t packStamp(const StampFields& f);
StampFields unpackStamp(std::uint32_t packed);
// "2026/12/07 12:34:56": four-digit year, the rest two digits, seconds always even.
std::string formatStamp(std::uint32_t packed);
// Last-write time of a file as local time, packed; nothing when it cannot be read.
std::optional<std::uint32_t> readFileStamp(const std::string& path);

} // namespace qv
