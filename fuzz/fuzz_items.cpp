// Items over random images, a dialog and a few items a run: the dialogs' value
// fields read what the core reads; an accepted value writes only the item's bytes and reads back (a
// one-byte number may read back as its other name for the same byte, as the dialogs document); a
// refused value writes nothing; what `get` prints, `set` takes back without changing a byte.
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "core/catalog.h"
#include "core/itemtext.h"
#include "core/rom.h"
#include "core/tables/registry.h"
#include "core/valueedit.h"
#include "core/valuefields.h"
#include "fuzzsupport.h"

using qvfuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    qvfuzz::Input in(data, size);
    const std::uint8_t flags = in.byte();
    const bool trainer = flags & 1;
    const int shift = trainer ? qv::kTrainerShift : 0;
    const std::size_t fileSize = trainer ? qv::kTrainerSize : qv::kPlainSize;
    // Up to four items a run, picked by the input, and in one run out of 32 a
    // whole dialog's value fields: every table and item is reached over the runs, at a
    // fraction of the cost of all of them every time.
    static const std::vector<const qv::DialogTable*> tables(qv::dialogTables().begin(),
                                                            qv::dialogTables().end());
    // Each dialog's value fields and items, made once.
    struct Dialog {
        qv::ValueFields fields;
        std::vector<const qv::Item*> items;
    };
    static std::vector<Dialog> dialogs = [] {
        std::vector<Dialog> all;
        for (const qv::DialogTable* t : tables)
            all.push_back({qv::ValueFields(*t), t->items()});
        return all;
    }();
    static const std::vector<qv::ItemRow> rows = qv::itemRows();
    const std::size_t table = in.byte() % tables.size();
    std::vector<const qv::Item*> picked;
    for (int n = in.byte() % 4 + 1; n > 0; --n)
        picked.push_back(rows[in.word() % rows.size()].item);
    std::vector<int> values;
    for (std::size_t i = 0; i < picked.size(); ++i)
        values.push_back(static_cast<int>(in.word()));
    // The image: the input's remaining bytes repeated over it, so that short inputs
    // still reach every item; the copy doubles each time, rather than a byte at a time.
    static qv::RomBuffer image;
    const auto rest = in.rest();
    if (rest.empty()) image.fill(0); // otherwise the copies below fill the whole file
    std::size_t filled = std::min(rest.size(), fileSize);
    std::copy_n(rest.begin(), filled, image.begin());
    while (filled > 0 && filled < fileSize) {
        const std::size_t n = std::min(filled, fileSize - filled);
        std::memcpy(image.data() + filled, image.data(), n);
        filled += n;
    }
    const std::span<std::uint8_t> file(image.data(), fileSize);

    // The fields of the picked items, or of the whole dialog, read what the core reads;
    // stored untouched, they rewrite every byte as it was.
    const bool wholeDialog = (flags & 0x3E) == 0;
    std::optional<qv::ValueFields> own;
    if (!wholeDialog) own.emplace(picked);
    qv::ValueFields& f = wholeDialog ? dialogs[table].fields : *own;
    f.load(file, shift);
    for (const qv::Item* item : wholeDialog ? dialogs[table].items : picked)
        check(f.state(*item) == item->read(file, shift));
    static qv::RomBuffer stored;
    stored = image;
    f.store(std::span<std::uint8_t>(stored.data(), fileSize), shift);
    check(stored == image);

    // `after` equals the image between items: each puts its own bytes back.
    static qv::RomBuffer after;
    after = image;
    const std::span<std::uint8_t> afterFile(after.data(), fileSize);
    const auto putBack = [&](const qv::Item& item) {
        for (int off : item.offsets)
            after[static_cast<std::size_t>(qv::shifted(off, shift))] =
                image[static_cast<std::size_t>(qv::shifted(off, shift))];
    };
    for (std::size_t n = 0; n < picked.size(); ++n) {
        const qv::Item& item = *picked[n];
        // get -> set changes no byte.
        const std::string text = qv::valueText(item, file, shift);
        std::string problem;
        const auto edit = qv::checkValue(item, text, file, problem);
        check(edit.has_value());
        if (edit->bytes) {
            check(*edit->bytes == qv::itemBytes(item, file, shift));
        } else {
            check(item.write(afterFile, shift, edit->value));
            check(after == image);
        }

        // A value from the input, near the item's range.
        const int span =
            item.kind == qv::ItemKind::Numeric ? item.acceptMax - item.acceptMin + 3 : 8;
        const int value =
            (item.kind == qv::ItemKind::Numeric ? item.acceptMin - 1 : -1) +
            static_cast<int>(static_cast<unsigned>(values[n]) % static_cast<unsigned>(span));
        const bool written = item.write(afterFile, shift, value);
        check(written == item.accepts(value));
        // Only the item's own bytes change: with them put back, the image is as it was.
        std::vector<std::uint8_t> own;
        for (int off : item.offsets)
            own.push_back(after[static_cast<std::size_t>(qv::shifted(off, shift))]);
        putBack(item);
        check(after == image);
        if (!written) {
            check(own == qv::itemBytes(item, file, shift));
            continue;
        }
        // Front ends never write an item that is out of bounds; one whose bytes it
        // reads with others' (a bridge piece) may stay unreadable.
        if (item.read(file, shift).outOfBounds) continue;
        for (std::size_t i = 0; i < own.size(); ++i)
            after[static_cast<std::size_t>(qv::shifted(item.offsets[i], shift))] = own[i];
        const qv::ItemState back = item.read(afterFile, shift);
        check(!back.outOfBounds || (item.kind == qv::ItemKind::Numeric && item.strictRange));
        if (item.kind == qv::ItemKind::Numeric && item.offsets.size() == 1)
            check(back.value == value || (back.value - value) % 256 == 0);
        else
            check(back.value == value);
        putBack(item);
    }
    return 0;
}
