#include "core/play/watch.h"

namespace qv::play {

namespace {

int byte(std::span<const std::uint8_t> ram, int address) {
    return ram[static_cast<std::size_t>(address)];
}

int signedByte(std::span<const std::uint8_t> ram, int address) {
    return static_cast<std::int8_t>(ram[static_cast<std::size_t>(address)]);
}

} // namespace

std::optional<Watch> watchByName(std::string_view name) {
    for (const WatchInfo& w : kWatches)
        if (name == w.name) return w.watch;
    return std::nullopt;
}

const WatchInfo& watchInfo(Watch watch) {
    return kWatches[static_cast<int>(watch)];
}

int watchValue(Watch watch, std::span<const std::uint8_t> ram) {
    if (ram.size() < 0x800) return 0;
    switch (watch) {
    case Watch::XSpeed:
        return signedByte(ram, 0x0057);
    case Watch::YSpeed:
        return signedByte(ram, 0x009F);
    case Watch::X:
        return byte(ram, 0x006D) * 256 + byte(ram, 0x0086);
    case Watch::Y:
        return byte(ram, 0x00CE);
    case Watch::Power:
        return byte(ram, 0x0756);
    case Watch::Lives:
        return byte(ram, 0x075A) + 1; // the game keeps lives - 1
    case Watch::Coins:
        return byte(ram, 0x07ED) * 10 + byte(ram, 0x07EE);
    case Watch::Timer:
        return byte(ram, 0x07F8) * 100 + byte(ram, 0x07F9) * 10 + byte(ram, 0x07FA);
    case Watch::World:
        return (byte(ram, 0x075F) + 1) * 10 + byte(ram, 0x075C) + 1;
    }
    return 0;
}

std::string watchText(Watch watch, std::span<const std::uint8_t> ram) {
    if (watch == Watch::World && ram.size() >= 0x800)
        return std::to_string(byte(ram, 0x075F) + 1) + "-" + std::to_string(byte(ram, 0x075C) + 1);
    return std::to_string(watchValue(watch, ram));
}

} // namespace qv::play
