// The generated parameter data against the tables it was generated from: the same
// rows, names, offsets and defaults, and the same reading of any bytes.
#include <gtest/gtest.h>

#include <random>

#include "core/catalog.h"
#include "core/itemtext.h"
#include "core/params.h"

namespace {

TEST(Params, OneRowForEachParameterWithItsTablesNamesAndDefaults) {
    const auto rows = qv::parameterRows();
    const auto params = qv::params();
    ASSERT_EQ(params.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const qv::ItemRow& r = rows[i];
        const qv::Param& p = params[i];
        SCOPED_TRACE(r.item->control);
        EXPECT_EQ(p.control(), r.item->control);
        EXPECT_EQ(p.dialog(), qv::dialogName(*r.table));
        EXPECT_EQ(p.page(), qv::stripMnemonic(r.page->caption));
        EXPECT_EQ(p.group(), qv::stripMnemonic(r.group->caption));
        EXPECT_EQ(p.label(), qv::labelOf(r));
        EXPECT_EQ(std::vector<int>(p.offsets().begin(), p.offsets().end()), r.item->offsets);
        EXPECT_EQ(p.lineStart(), "  " + qv::labelOf(r) + ": " + r.item->control);
        EXPECT_EQ(p.offsetsText(0), qv::offsetsIn(r.item->offsets, 0));
        EXPECT_EQ(p.offsetsText(512), qv::offsetsIn(r.item->offsets, 512));
        EXPECT_EQ(p.defaultValue, r.item->defaultValue);
        EXPECT_EQ(p.defaultText(), qv::defaultText(*r.item));
        // Rows of one group share a group number, rows of different groups do not.
        if (i > 0) {
            EXPECT_EQ(p.groupIndex == params[i - 1].groupIndex, r.group == rows[i - 1].group);
        }
        const qv::ItemRow back = qv::rowOf(p);
        EXPECT_EQ(back.item, r.item);
        EXPECT_EQ(back.page, r.page);
    }

    // Spot checks, literally.
    const auto named = [&](std::string_view control) -> const qv::Param* {
        for (const qv::Param& p : params)
            if (p.control() == control) return &p;
        return nullptr;
    };
    const qv::Param* walk = named("EditMaWalk_R");
    ASSERT_NE(walk, nullptr);
    EXPECT_EQ(walk->dialog(), "Mario");
    EXPECT_EQ(walk->label(), "Right");
    EXPECT_EQ(walk->offsets().size(), 1u);
    EXPECT_EQ(walk->offsets()[0], 0x3454);
    EXPECT_EQ(walk->defaultText(), "24");
    EXPECT_EQ(walk->offsetsText(0), "0x3454");
    EXPECT_EQ(walk->offsetsText(512), "0x3654");
    EXPECT_EQ(walk->text({false, -3}), "-3");
    EXPECT_EQ(walk->text({true, 0}), "(Out of bounds)");
}

TEST(Params, ReadAnyBytesAsTheirItemsDo) {
    std::mt19937 random(12345);
    const auto rows = qv::parameterRows();
    const auto params = qv::params();
    ASSERT_EQ(params.size(), rows.size());
    std::vector<std::uint8_t> image(40976);
    for (int round = 0; round < 64; ++round) {
        // Random bytes, zeros, and each item's own default bytes nudged: the patterns
        // that read in bounds are rare among random bytes.
        for (std::uint8_t& b : image)
            b = static_cast<std::uint8_t>(round == 0 ? 0 : random());
        if (round % 2)
            for (const qv::ItemRow& r : rows)
                r.item->write(image, 0, r.item->defaultValue);
        if (round % 4 == 3)
            for (const qv::ItemRow& r : rows)
                image[static_cast<std::size_t>(
                    r.item->offsets[random() % r.item->offsets.size()])] ^=
                    static_cast<std::uint8_t>(1u << (random() % 8));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const qv::Item& item = *rows[i].item;
            const qv::ItemState want = item.read(image, 0);
            const qv::ItemState got = params[i].read(image, 0);
            ASSERT_EQ(got, want) << item.control << " in round " << round;
            ASSERT_EQ(params[i].text(got), qv::shownText(item, want)) << item.control;
        }
    }
    // Every single-byte parameter at every byte value.
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const qv::Item& item = *rows[i].item;
        if (item.offsets.size() != 1) continue;
        for (int b = 0; b < 256; ++b) {
            image[static_cast<std::size_t>(item.offsets[0])] = static_cast<std::uint8_t>(b);
            ASSERT_EQ(params[i].read(image, 0), item.read(image, 0)) << item.control << " " << b;
        }
    }
}

} // namespace
