#pragma once
// A synthetic stand-in for the unmodified game: a zero-filled image in which every
// parameter holds its default, registered as a known image. No real game is used.
#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "core/changes.h"
#include "core/knowngames.h"
#include "core/rom.h"

namespace qvtest {

// Every parameter's default written into a zero image; writing twice settles items
// that share bytes with an instruction written after them.
inline std::vector<std::uint8_t> cleanImage(bool trainer = false) {
    std::vector<std::uint8_t> image(trainer ? 41488 : 40976, 0);
    const int shift = trainer ? 512 : 0;
    for (int pass = 0; pass < 2; ++pass)
        for (const qv::ItemRow& r : qv::parameterRows())
            r.item->write(image, shift, r.item->defaultValue);
    return image;
}

inline void registerCleanImage() {
    static const bool done = [] {
        qv::registerKnownImage("Synthetic clean game", cleanImage());
        return true;
    }();
    (void)done;
}

// Random accepted values written into random parameters, skipping any that would leave
// another parameter unreadable (the rule every edit path keeps).
inline void randomEdits(std::vector<std::uint8_t>& image, int shift, std::mt19937& rng, int count) {
    const auto& rows = qv::parameterRows();
    for (int n = 0; n < count; ++n) {
        const qv::Item& item = *rows[rng() % rows.size()].item;
        if (item.read(image, shift).outOfBounds) continue;
        int value = static_cast<int>(rng() % 2); // check boxes of any kind: 0 or 1
        if (item.kind == qv::ItemKind::Numeric)
            value = item.acceptMin +
                    static_cast<int>(rng() %
                                     static_cast<unsigned>(item.acceptMax - item.acceptMin + 1));
        else if (item.kind == qv::ItemKind::Choice)
            value = static_cast<int>(rng() % item.list->captions().size());
        if (!item.accepts(value)) continue;
        const std::vector<std::uint8_t> before = image;
        item.write(image, shift, value);
        // A value that reads back as another (a sign turned over) is left out here.
        if (item.read(image, shift) != qv::ItemState{false, value}) {
            image = before;
            continue;
        }
        for (const qv::ItemRow& r : rows)
            if (!r.item->read(before, shift).outOfBounds &&
                r.item->read(image, shift).outOfBounds) {
                image = before;
                break;
            }
    }
}

} // namespace qvtest
