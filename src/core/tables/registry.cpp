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

std::span<const DialogTable* const> dialogTables() {
    static const std::vector<const DialogTable*> all{
        &tables::mario(),      &tables::zenpan1(),
        &tables::kihonBloc(), // General 1's sub-dialogs
        &tables::kaidanBloc(), &tables::zenpan2(), &tables::enemy1(), &tables::enemy2(),
        &tables::enemy3(),     &tables::point(),   &tables::color(),  &tables::pallet(),
    };
    return all;
}

const DialogTable* findTable(std::string_view className) {
    for (const DialogTable* t : dialogTables())
        if (t->className == className) return t;
    return nullptr;
}

ItemRef findItem(std::string_view control) {
    for (const DialogTable* t : dialogTables())
        if (const Item* it = t->find(control)) return {t, it};
    return {};
}

} // namespace qv
