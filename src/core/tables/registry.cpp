#include "core/tables/registry.h"

#include <vector>

#include "core/tables/basicblocks.h"
#include "core/tables/color.h"
#include "core/tables/enemy1.h"
#include "core/tables/enemy2.h"
#include "core/tables/enemy3.h"
#include "core/tables/general1.h"
#include "core/tables/general2.h"
#include "core/tables/mario.h"
#include "core/tables/palette.h"
#include "core/tables/scoring.h"
#include "core/tables/staircaseblocks.h"

namespace qv {

namespace {
// General 1's two sub-dialogs follow it: their bytes travel with it.
constexpr DialogEntry kEntries[] = {
    {&tables::mario, "Mario", "Mario", "&Mario Settings...", "&Mario", 1},
    {&tables::general1, "General 1", "Zenpan1", "&General Settings 1...", "&General 1", 2},
    {&tables::basicBlocks, "Basic blocks", "KihonBloc", "", "", 0},
    {&tables::staircaseBlocks, "Staircase", "KaidanBloc", "", "", 0},
    {&tables::general2, "General 2", "Zenpan2", "Ge&neral Settings 2...", "Ge&neral 2", 3},
    {&tables::enemy1, "Enemy 1", "Enemy1", "Enemy Settings &1...", "Enemies &1", 4},
    {&tables::enemy2, "Enemy 2", "Enemy2", "Enemy Settings &2...", "Enemies &2", 5},
    {&tables::enemy3, "Enemy 3", "Enemy3", "Enemy Settings &3...", "Enemies &3", 6},
    {&tables::scoring, "Scoring", "Point", "&Scoring Settings...", "&Scoring", 7},
    {&tables::color, "Color", "Color", "Co&lor Settings...", "Co&lors", 8},
    {&tables::palette, "Palette", "Pallet", "&Palette Settings...", "&Palette", 9},
};
} // namespace

std::span<const DialogEntry> dialogEntries() {
    return kEntries;
}

std::span<const DialogTable* const> dialogTables() {
    static const std::vector<const DialogTable*> all = [] {
        std::vector<const DialogTable*> v;
        for (const DialogEntry& e : kEntries)
            v.push_back(&e.table());
        return v;
    }();
    return all;
}

const DialogEntry* findEntry(std::string_view className) {
    for (const DialogEntry& e : kEntries)
        if (e.table().className == className) return &e;
    return nullptr;
}

const DialogTable* findTable(std::string_view className) {
    const DialogEntry* e = findEntry(className);
    return e ? &e->table() : nullptr;
}

ItemRef findItem(std::string_view control) {
    for (const DialogTable* t : dialogTables())
        if (const Item* it = t->find(control)) return {t, it};
    return {};
}

} // namespace qv
