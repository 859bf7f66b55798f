#pragma once
// The unmodified game images this editor recognises. An image is recognised by the
// 40,960 bytes after its header (and after a trainer, where one is present), so a
// retouched header or an added trainer does not hide a clean game.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qv {

inline constexpr int kHeaderSize = 16;
inline constexpr int kGameBodySize = 40960; // program and character data

struct KnownGame {
    std::string name;
    std::string bodySha1;    // of the 40,960 bytes after header and trainer, lower-case hex
    std::uint32_t bodyCrc32; // of the same bytes
    std::string fileSha1;    // of the usual whole 40,976-byte file, for information
    std::uint32_t fileCrc32; // the same
};

// The table, the unmodified game first.
const std::vector<KnownGame>& knownGames();
// Adds an image to the table for the rest of the run (tests register synthetic ones).
void registerKnownGame(KnownGame game);
// The same, computing the digests from an image of 40,976 or 41,488 bytes.
void registerKnownImage(const std::string& name, std::span<const std::uint8_t> file);

// The program and character data of an image of a valid size; empty otherwise.
std::span<const std::uint8_t> gameBody(std::span<const std::uint8_t> file);
// The table's entry whose body this image has, or nullptr.
const KnownGame* recognise(std::span<const std::uint8_t> file);

} // namespace qv
