// The shorthands the table files are written with.
#include <gtest/gtest.h>

#include "core/tables/builders.h"

using namespace qv::tables;

TEST(TableBuilders, GroupNotesAndPagesCarryWhatTheyAreGiven) {
    const qv::Group g = group("Running Speed", 13395, "SpdMaRun",
                              {qv::numeric("EditMaRun_R", "R&ight:", 0x3453, qv::enc::signedByte,
                                           -128, 127, 40, "[-128～127 Default: 40]")});
    EXPECT_EQ(g.caption, "Running Speed");
    EXPECT_EQ(g.helpContext, 13395);
    EXPECT_EQ(g.reset, "SpdMaRun");
    ASSERT_EQ(g.items.size(), 1u);
    EXPECT_EQ(g.items[0].control, "EditMaRun_R");
    EXPECT_EQ(qv::groupObjectName(g, 0, 2), "GrpMaRun");

    const qv::Group n = notes("Miscellaneous", "GrpItemMisc", {"one", "two"});
    EXPECT_EQ(n.caption, "Miscellaneous");
    EXPECT_EQ(n.helpContext, 0);
    EXPECT_EQ(n.reset, "");
    EXPECT_TRUE(n.items.empty());
    EXPECT_EQ(n.notes, (std::vector<std::string_view>{"one", "two"}));
    EXPECT_EQ(qv::groupObjectName(n, 1, 4), "GrpItemMisc");

    const qv::Page plain = page("Speed", {g});
    EXPECT_EQ(plain.caption, "Speed");
    EXPECT_EQ(plain.groups.size(), 1u);
    EXPECT_EQ(qv::pageObjectName(plain, 2), "Tab3");
    const qv::Page named = page("Items", "TabItem", {g, n});
    EXPECT_EQ(named.groups.size(), 2u);
    EXPECT_EQ(qv::pageObjectName(named, 2), "TabItem");
}
