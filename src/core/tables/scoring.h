#pragma once
// TFormPoint, "Scoring Settings": the score table, the score of each enemy, item and
// bonus, coin and flagpole scores, the coin step, coins for an extra life, three
// scores outside the score table and four switches for drawing the score digits.
#include <span>
#include <string_view>
#include <vector>

#include "core/tables/table.h"

namespace qv::tables {

const DialogTable& scoring();

// The 17 combo boxes that name a score-table slot (the Item list), in Tag order
// (Tag 1 first). Each shows that slot's points and picture in two panels beside it.
std::span<const std::string_view> pointScoredItems();
// The Tags of the scored-item combos in a group, or on a page (by index), in Tag order:
// a page or group showing score panels refreshes exactly these.
std::vector<int> pointTagsIn(const Group& group);
std::vector<int> pointTagsOnPage(int page);
// The General tab's points and picture combos of score-table slot s (1..11).
std::string pointSlotPoints(int slot);
std::string pointSlotDisplay(int slot);

} // namespace qv::tables
