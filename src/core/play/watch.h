#pragma once
// What the parameters govern, read live from the game's RAM: Mario's speed,
// position, power-up state, lives, coins, timer and where he is.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qv::play {

enum class Watch { XSpeed, YSpeed, X, Y, Power, Lives, Coins, Timer, World };

struct WatchInfo {
    Watch watch;
    const char* name;  // as qorv play --watch takes it
    const char* label; // as the Play window shows it
};

inline constexpr WatchInfo kWatches[] = {
    {Watch::XSpeed, "xspeed", "Horizontal speed"},
    {Watch::YSpeed, "yspeed", "Vertical speed"},
    {Watch::X, "x", "X position"},
    {Watch::Y, "y", "Y position"},
    {Watch::Power, "power", "Power-up"},
    {Watch::Lives, "lives", "Lives"},
    {Watch::Coins, "coins", "Coins"},
    {Watch::Timer, "timer", "Timer"},
    {Watch::World, "world", "World"},
};

std::optional<Watch> watchByName(std::string_view name);
const WatchInfo& watchInfo(Watch watch);

// The value as a number: speeds signed, x counted in pixels from the level's start
// (page * 256 + pixel), power 0 small, 1 super, 2 fire, lives as the game shows them,
// coins and timer from their decimal digits, world as world * 10 + level (counted
// from 1). 0 when the RAM is too short.
int watchValue(Watch watch, std::span<const std::uint8_t> ram);
// The value as text: the number, but "8-4" for the world.
std::string watchText(Watch watch, std::span<const std::uint8_t> ram);

} // namespace qv::play
