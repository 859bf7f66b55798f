#include "core/knowngames.h"

#include "core/digest.h"
#include "core/rom.h"

namespace qv {
namespace {

std::vector<KnownGame>& table() {
    static std::vector<KnownGame> games{
        {"Super Mario Bros.", "facee9c577a5262dbe33ac4930bb0b58c8c037f7", 0xD445F698u,
         "ea343f4e445a9050d4b4fbac2c77d0693b1d0922", 0x3337EC46u},
    };
    return games;
}

} // namespace

const std::vector<KnownGame>& knownGames() {
    return table();
}

void registerKnownGame(KnownGame game) {
    table().push_back(std::move(game));
}

void registerKnownImage(const std::string& name, std::span<const std::uint8_t> file) {
    const auto body = gameBody(file);
    if (body.empty()) return;
    registerKnownGame({name, sha1Hex(body), crc32(body), sha1Hex(file), crc32(file)});
}

std::span<const std::uint8_t> gameBody(std::span<const std::uint8_t> file) {
    if (file.size() == static_cast<std::size_t>(kPlainSize)) return file.subspan(kHeaderSize);
    if (file.size() == static_cast<std::size_t>(kTrainerSize))
        return file.subspan(kHeaderSize + kTrainerShift);
    return {};
}

const KnownGame* recognise(std::span<const std::uint8_t> file) {
    const auto body = gameBody(file);
    if (body.empty()) return nullptr;
    // The CRC is cheap and rules out nearly every image before SHA-1 has to decide.
    const std::uint32_t crc = crc32(body);
    std::string sha1;
    for (const KnownGame& g : table()) {
        if (g.bodyCrc32 != crc) continue;
        if (sha1.empty()) sha1 = sha1Hex(body);
        if (g.bodySha1 == sha1) return &g;
    }
    return nullptr;
}

} // namespace qv
