// Properties every registered dialog and every item of its table keep, so that a new
// dialog is covered by being registered: the entries' names and keys, an item's
// default reading back as itself, round trips through the value fields, the trainer
// shift, and range labels (derived, except for the departures listed here).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/tables/registry.h"
#include "core/valuefields.h"

namespace {

using qv::DialogEntry;
using qv::Item;
using qv::ItemKind;
using Bytes = std::vector<std::uint8_t>;

std::vector<const Item*> allItems() {
    std::vector<const Item*> out;
    for (const qv::DialogTable* t : qv::dialogTables())
        for (const Item* it : t->items())
            out.push_back(it);
    return out;
}

// Values to try: numeric items their accepted range (every value of a byte-sized
// range, a spread of a wider one), check items both states, lists every entry.
std::vector<int> valuesOf(const Item& it) {
    std::vector<int> out;
    switch (it.kind) {
    case ItemKind::Numeric: {
        const int span = it.acceptMax - it.acceptMin;
        const int step = span > 600 ? span / 97 : 1;
        for (int v = it.acceptMin; v <= it.acceptMax; v += step)
            out.push_back(v);
        out.push_back(it.acceptMax);
        break;
    }
    case ItemKind::Check:
    case ItemKind::Flag:
        out = {0, 1};
        break;
    case ItemKind::Choice:
        for (int i = 0; i < static_cast<int>(it.list->captions().size()); ++i)
            out.push_back(i);
        break;
    }
    return out;
}

TEST(Registry, EntriesNameTheirTablesOnce) {
    std::set<std::string> names, commands, classes;
    std::set<int> shortcuts;
    int inMenu = 0;
    for (const DialogEntry& e : qv::dialogEntries()) {
        SCOPED_TRACE(std::string(e.name));
        EXPECT_TRUE(names.insert(std::string(e.name)).second);
        EXPECT_TRUE(commands.insert(std::string(e.command)).second);
        EXPECT_TRUE(classes.insert(e.table().className).second);
        EXPECT_EQ(e.undoSuffix(), e.table().undoSuffix); // what Undo shows after OK
        EXPECT_EQ(qv::findEntry(e.table().className), &e);
        if (!e.inMenu()) {
            EXPECT_EQ(e.shortcut, 0);
            continue;
        }
        ++inMenu;
        EXPECT_FALSE(e.buttonCaption.empty());
        EXPECT_TRUE(shortcuts.insert(e.shortcut).second);
    }
    EXPECT_EQ(inMenu, 9);
    EXPECT_EQ(shortcuts, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(qv::findEntry("TFormNothing"), nullptr);

    // The names the main window and the command line derive.
    const DialogEntry& first = qv::dialogEntries().front();
    EXPECT_EQ(first.actionName(), "mmmMario");
    EXPECT_EQ(first.buttonName(), "BtnMario");
    EXPECT_EQ(first.undoSuffix(), "(Mario)");
}

// On an image holding a dialog's defaults (written over zeros or over 0xFF), every
// item of the dialog reads its default.
TEST(Registry, EveryDefaultReadsBackAsItself) {
    for (const qv::DialogTable* t : qv::dialogTables()) {
        for (const std::uint8_t fill : {0x00, 0xFF}) {
            Bytes img(40976, fill);
            for (const Item* it : t->items())
                ASSERT_TRUE(it->write(img, 0, it->defaultValue)) << it->control;
            for (const Item* it : t->items())
                EXPECT_EQ(it->read(img, 0), (qv::ItemState{false, it->defaultValue}))
                    << it->control << " over " << int{fill};
        }
    }
}

// Each accepted value survives a trip through the dialogs' value fields and through
// writeValues, which the command line uses, and both leave the same bytes.
TEST(Registry, ValuesRoundTripThroughTheOneEditPath) {
    for (const Item* it : allItems()) {
        SCOPED_TRACE(it->control);
        const std::vector<const Item*> one{it};
        for (int v : valuesOf(*it)) {
            Bytes viaFields(40976, 0), viaWrite(40976, 0);
            qv::ValueFields fields(one);
            fields.load(viaFields, 0);
            fields.set(*it, v);
            fields.store(viaFields, 0);
            ASSERT_TRUE(it->write(viaWrite, 0, v));
            ASSERT_EQ(viaFields, viaWrite) << v;
            const qv::ItemState back = it->read(viaWrite, 0);
            EXPECT_FALSE(back.outOfBounds) << v;
            EXPECT_EQ(fields.state(*it), back) << v;
            // An alias (128 stored as 0x80 reads -128) writes the same bytes; -128 negated
            // reads 128, which the box does not accept.
            if (back.value != v && it->accepts(back.value)) {
                Bytes again(40976, 0);
                ASSERT_TRUE(it->write(again, 0, back.value));
                EXPECT_EQ(again, viaWrite) << v << " reads " << back.value;
            }
        }
        Bytes img(40976, 0x5A);
        const Bytes before = img;
        EXPECT_FALSE(it->write(img, 0, it->kind == ItemKind::Numeric ? it->acceptMax + 1 : -1));
        EXPECT_EQ(img, before); // a value not accepted writes nothing
    }
}

// With a trainer every byte lands 512 further on, and the trainer stays untouched.
TEST(Registry, EveryItemWritesPastTheTrainer) {
    for (const Item* it : allItems()) {
        SCOPED_TRACE(it->control);
        const int v = valuesOf(*it).back();
        Bytes plain(40976, 0), trainer(41488, 0);
        ASSERT_TRUE(it->write(plain, 0, v));
        ASSERT_TRUE(it->write(trainer, 512, v));
        EXPECT_TRUE(std::all_of(trainer.begin() + 16, trainer.begin() + 528,
                                [](std::uint8_t b) { return b == 0; }));
        EXPECT_TRUE(std::equal(plain.begin() + 16, plain.end(), trainer.begin() + 528));
        EXPECT_EQ(it->read(trainer, 512), it->read(plain, 0));
    }
}

// Every numeric item's label reads "[min～max Default: d]" over its up-down limits,
// except the labels that depart on purpose, which are listed here in full.
TEST(Registry, RangeLabelsFollowTheirRangeExceptTheListedDepartures) {
    std::map<std::string, std::string> departures{
        {"EditHodai_L", "[0～256 Default: 80]"}, // a 0..255 box
        {"EditUpLift", "[-32,767～32,768 Default: -240]"},
        {"EditDownLift", "[-32,767～32,768 Default: 240]"},
        {"EditKoppaFiPat0", "[0～255 Default: 191, 64, 191, 191, 191, 64, 64, 191]"},
        {"EditKpbgDelX1", "[0～15 Default: 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0]"},
    };
    // Grid columns head their range; the rows' defaults are in the row notes.
    for (int row = 1; row <= 5; ++row) {
        departures["EditJumpBase" + std::to_string(row)] = "[-127～128]";
        for (const char* stem : {"EditJumpRev", "EditJumpRise", "EditJumpFall"})
            departures[stem + std::to_string(row)] = "[0～255]";
    }
    for (int n = 1; n <= 12; ++n)
        departures["EditPukuSpeed" + std::to_string(n)] = "";
    for (int n = 1; n <= 7; ++n) // the first box of the series carries the label
        departures["EditKoppaFiPat" + std::to_string(n)] = "";
    for (int n = 2; n <= 13; ++n)
        departures["EditKpbgDelX" + std::to_string(n)] = "";
    for (int n = 1; n <= 9; ++n) { // the staircase grid: every box shows its column's defaults
        departures["EditKaidanSp" + std::to_string(n)] =
            "[0～13 Default: 10, 9, 8, 7, 6, 5, 4, 3, 3]";
        departures["EditKaidanBk" + std::to_string(n)] =
            "[1～13 Default: 1, 2, 3, 4, 5, 6, 7, 8, 8]";
    }

    std::set<std::string> departed;
    for (const Item* it : allItems()) {
        if (it->kind != ItemKind::Numeric) continue;
        SCOPED_TRACE(it->control);
        if (const auto d = departures.find(it->control); d != departures.end()) {
            EXPECT_EQ(it->rangeLabel(), d->second);
            EXPECT_TRUE(it->ownRangeLabel);
            departed.insert(it->control);
            continue;
        }
        EXPECT_FALSE(it->ownRangeLabel);
        EXPECT_EQ(it->rangeLabel(), "[" + std::to_string(it->spinMin) + "～" +
                                        std::to_string(it->spinMax) +
                                        " Default: " + std::to_string(it->defaultValue) + "]");
    }
    EXPECT_EQ(departed.size(), departures.size()); // every listed departure exists
}

// Some known labels, literally, from both patterns.
TEST(Registry, KnownRangeLabels) {
    const auto label = [](const char* control) { return qv::findItem(control).item->rangeLabel(); };
    EXPECT_EQ(label("EditJugemSpeed1"), "[-128～127 Default: 21]");
    EXPECT_EQ(label("EditJugemSpeed2"), "[-127～128 Default: 48]"); // the up-down's limits
    EXPECT_EQ(label("EditJugemRestore"), "[0～255 Default: 7]");
    EXPECT_EQ(label("EditNkFkTime"), "[0～255 Default: 16]");
    EXPECT_EQ(label("EditDsPakkun"), "[0～255 Default: 33]");
    EXPECT_EQ(label("KbClouds"), "[0～31 Default: 8]");
    EXPECT_EQ(label("EditHodai_L"), "[0～256 Default: 80]");
}

} // namespace
