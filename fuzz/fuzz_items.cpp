// Every item over random images: the dialogs' value fields read what the core
// reads; an accepted value writes only the item's bytes and reads back (a one-byte
// number may read back as its other name for the same byte, as the dialogs
// document); a refused value writes nothing; what `get` prints, `set` takes back
// without changing a byte.
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
    const bool trainer = in.byte() & 1;
    const int shift = trainer ? qv::kTrainerShift : 0;
    const std::size_t fileSize = trainer ? qv::kTrainerSize : qv::kPlainSize;
    // The image: the input's bytes repeated over the parameter area, so that short
    // inputs still reach every item.
    qv::RomBuffer image{};
    const auto rest = in.rest();
    if (!rest.empty())
        for (std::size_t i = 0; i < fileSize; ++i)
            image[i] = rest[(i * 131 + i / rest.size()) % rest.size()];
    const std::span<std::uint8_t> file(image.data(), fileSize);

    for (const qv::DialogTable* table : qv::dialogTables()) {
        qv::ValueFields fields(*table);
        fields.load(file, shift);
        for (const qv::Item* item : table->items())
            check(fields.state(*item) == item->read(file, shift));
        // Storing the fields untouched rewrites every byte as it was.
        qv::RomBuffer stored = image;
        fields.store(std::span<std::uint8_t>(stored.data(), fileSize), shift);
        check(stored == image);
    }

    static const std::vector<qv::ItemRow> rows = qv::itemRows();
    static qv::RomBuffer scratch;
    scratch = image;
    std::size_t n = 0;
    for (const qv::ItemRow& row : rows) {
        const qv::Item& item = *row.item;
        // get -> set changes no byte.
        const std::string text = qv::valueText(item, file, shift);
        std::string problem;
        const auto edit = qv::checkValue(item, text, file, problem);
        check(edit.has_value());
        if (edit->bytes) {
            check(*edit->bytes == qv::itemBytes(item, file, shift));
        } else {
            std::vector<std::uint8_t> stored(file.begin(), file.end());
            check(item.write(stored, shift, edit->value));
            check(std::equal(stored.begin(), stored.end(), file.begin()));
        }

        // A value from the input, near the item's range.
        const int span =
            item.kind == qv::ItemKind::Numeric ? item.acceptMax - item.acceptMin + 3 : 8;
        const unsigned seed = data[n % size] * 257u + static_cast<unsigned>(n);
        ++n;
        const int value = (item.kind == qv::ItemKind::Numeric ? item.acceptMin - 1 : -1) +
                          static_cast<int>(seed % static_cast<unsigned>(span));
        qv::RomBuffer& after = scratch;
        const std::span<std::uint8_t> afterFile(after.data(), fileSize);
        const bool written = item.write(afterFile, shift, value);
        check(written == item.accepts(value));
        // Only the item's own bytes change: with them put back, the image is as it was.
        std::vector<std::uint8_t> own;
        for (int off : item.offsets)
            own.push_back(after[static_cast<std::size_t>(qv::shifted(off, shift))]);
        for (int off : item.offsets)
            after[static_cast<std::size_t>(qv::shifted(off, shift))] =
                image[static_cast<std::size_t>(qv::shifted(off, shift))];
        check(after == image);
        for (std::size_t i = 0; i < own.size(); ++i)
            after[static_cast<std::size_t>(qv::shifted(item.offsets[i], shift))] = own[i];
        const auto restore = [&] {
            for (int off : item.offsets)
                after[static_cast<std::size_t>(qv::shifted(off, shift))] =
                    image[static_cast<std::size_t>(qv::shifted(off, shift))];
        };
        if (!written) {
            check(own == qv::itemBytes(item, file, shift));
            continue;
        }
        // Front ends never write an item that is out of bounds; one whose bytes it
        // reads with others' (a bridge piece) may stay unreadable.
        if (item.read(file, shift).outOfBounds) {
            restore();
            continue;
        }
        const qv::ItemState back = item.read(afterFile, shift);
        check(!back.outOfBounds || (item.kind == qv::ItemKind::Numeric && item.strictRange));
        if (item.kind == qv::ItemKind::Numeric && item.offsets.size() == 1)
            check(back.value == value || (back.value - value) % 256 == 0);
        else
            check(back.value == value);
        restore();
    }
    return 0;
}
