#pragma once
// CRC32 (the zip/PNG polynomial, from zlib) and SHA-1 (from nettle; on Windows from
// the system's CNG) of a byte span: the two checksums ROM lists identify game images by.
#include <cstdint>
#include <span>
#include <string>

namespace qv {

std::uint32_t crc32(std::span<const std::uint8_t> data);
// Forty lower-case hexadecimal digits.
std::string sha1Hex(std::span<const std::uint8_t> data);

} // namespace qv
