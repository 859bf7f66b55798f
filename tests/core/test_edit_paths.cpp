// Every parameter edited through the document's edit service (the path of qorv set and
// of presets), on the same image with and without a trainer: the same bytes change, the
// trainer image's 512 bytes further on, and nothing but the parameter's own bytes.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/catalog.h"
#include "core/document.h"
#include "core/itemtext.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A value other than the one shown, as set takes it.
std::string otherValue(const qv::Item& item, const qv::ItemState& now) {
    switch (item.kind) {
    case qv::ItemKind::Numeric:
        return std::to_string(now.value != item.acceptMin ? item.acceptMin : item.acceptMax);
    case qv::ItemKind::Check:
    case qv::ItemKind::Flag:
        return now.value ? "unchecked" : "checked";
    case qv::ItemKind::Choice:
        return "#" +
               std::to_string((now.value + 1) % static_cast<int>(item.list->captions().size()));
    }
    return {};
}

TEST(EditPaths, EachParameterChangesOnlyItsOwnBytesFiveHundredTwelveOnWithATrainer) {
    int edited = 0, refused = 0;
    for (unsigned seed = 1; seed <= 3; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed * 7907u);
        Bytes plain(40976);
        for (auto& b : plain)
            b = static_cast<std::uint8_t>(rng());
        // Planted defaults, so that boxes and lists are met in bounds too.
        for (const qv::ItemRow& r : qv::parameterRows())
            if (rng() % 2) r.item->write(plain, 0, r.item->defaultValue);
        Bytes trained = plain;
        trained.insert(trained.begin() + 16, 512, 0xA5);

        for (const qv::ItemRow& r : qv::parameterRows()) {
            const qv::Item& item = *r.item;
            SCOPED_TRACE(item.control);
            const qv::ItemState now = item.read(plain, 0);
            ASSERT_EQ(item.read(trained, 512), now);
            if (now.outOfBounds) continue;
            const std::string text = otherValue(item, now);
            qv::RomDocument plainDoc, trainedDoc;
            ASSERT_TRUE(plainDoc.replace(plain, "/tmp/p.nes"));
            ASSERT_TRUE(trainedDoc.replace(trained, "/tmp/t.nes"));
            std::string problem;
            const auto a = qv::checkValue(item, text, plainDoc.fileBytes(), problem);
            const auto b = qv::checkValue(item, text, trainedDoc.fileBytes(), problem);
            ASSERT_TRUE(a && b) << text << ": " << problem;
            const std::string refusedA = plainDoc.apply(std::span(&*a, 1), "Set");
            const std::string refusedB = trainedDoc.apply(std::span(&*b, 1), "Set");
            ASSERT_EQ(refusedA.empty(), refusedB.empty()) << refusedA << refusedB;
            if (!refusedA.empty()) {
                ++refused;
                EXPECT_FALSE(trainedDoc.modified());
                continue;
            }
            ++edited;
            const auto after = plainDoc.fileBytes();
            Bytes expected(after.begin(), after.end());
            expected.insert(expected.begin() + 16, 512, 0xA5);
            ASSERT_TRUE(std::equal(expected.begin(), expected.end(), trainedDoc.fileBytes().begin(),
                                   trainedDoc.fileBytes().end()));
            for (std::size_t i = 0; i < plain.size(); ++i) {
                if (after[i] != plain[i]) {
                    EXPECT_NE(
                        std::find(item.offsets.begin(), item.offsets.end(), static_cast<int>(i)),
                        item.offsets.end())
                        << "changed " << i;
                }
            }
        }
    }
    EXPECT_GT(edited, 1000);
    EXPECT_LT(refused, edited / 10);
}

} // namespace
