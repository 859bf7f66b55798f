#pragma once
// A table against the bytes an unmodified game holds: the bytes are written into an
// empty image, every item must read in bounds at its default, and each byte's owning
// controls are collected for the caller's ownership checks.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/rom.h"
#include "core/tables/table.h"

namespace qvtest {

// The item of `table` named `control`; a name the table lacks fails the test.
inline const qv::Item& itemIn(const qv::DialogTable& table, const char* control) {
    const qv::Item* it = table.find(control);
    if (!it)
        throw std::logic_error(std::string(control) + " is not in " + std::string(table.className));
    return *it;
}

struct DefaultsCheck {
    qv::RomBuffer rom{};
    std::size_t bytes = 0;                       // bytes written
    std::map<int, std::set<std::string>> owners; // offset -> controls reading it
};

inline DefaultsCheck checkDefaults(const qv::DialogTable& table,
                                   const std::map<int, std::vector<std::uint8_t>>& defaults) {
    DefaultsCheck c;
    for (const auto& [off, seq] : defaults) {
        for (std::size_t i = 0; i < seq.size(); ++i)
            c.rom[static_cast<std::size_t>(off) + i] = seq[i];
        c.bytes += seq.size();
    }
    for (const qv::Item* it : table.items()) {
        SCOPED_TRACE(it->control);
        const qv::ItemState s = it->read(c.rom, 0);
        EXPECT_FALSE(s.outOfBounds);
        EXPECT_EQ(s.value, it->defaultValue);
        for (int off : it->offsets)
            c.owners[off].emplace(it->control);
    }
    return c;
}

} // namespace qvtest
