#include "core/valuefields.h"

#include <algorithm>
#include <array>
#include <cassert>

#include "core/rom.h"
#include "core/tables/table.h"

namespace qv {

ValueFields::ValueFields(const DialogTable& table) {
    for (const Item* it : table.items())
        add(*it);
    for (const DialogTable* sub : table.subDialogs)
        for (const Item* it : sub->items())
            add(*it);
    finish();
}

ValueFields::ValueFields(std::span<const Item* const> items) {
    for (const Item* it : items)
        add(*it);
    finish();
}

void ValueFields::add(const Item& item) {
    offsets_.insert(offsets_.end(), item.offsets.begin(), item.offsets.end());
}

void ValueFields::finish() {
    std::sort(offsets_.begin(), offsets_.end());
    offsets_.erase(std::unique(offsets_.begin(), offsets_.end()), offsets_.end());
    values_.assign(offsets_.size(), 0);
}

std::size_t ValueFields::indexOf(int offset) const {
    const auto at = std::lower_bound(offsets_.begin(), offsets_.end(), offset);
    assert(at != offsets_.end() && *at == offset);
    return static_cast<std::size_t>(at - offsets_.begin());
}

void ValueFields::load(std::span<const std::uint8_t> image, int shift) {
    readFields(image, shift, offsets_, values_);
}

void ValueFields::store(std::span<std::uint8_t> image, int shift) const {
    writeFields(image, shift, offsets_, values_);
}

ItemState ValueFields::state(const Item& item) const {
    std::array<int, kMaxItemBytes> f{};
    for (std::size_t i = 0; i < item.offsets.size(); ++i)
        f[i] = values_[indexOf(item.offsets[i])];
    return item.decode(std::span<const int>(f.data(), item.offsets.size()));
}

void ValueFields::set(const Item& item, int value) {
    std::array<int, kMaxItemBytes> f{};
    const std::span<int> fields(f.data(), item.offsets.size());
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i] = values_[indexOf(item.offsets[i])];
    item.encode(value, fields);
    for (std::size_t i = 0; i < fields.size(); ++i)
        values_[indexOf(item.offsets[i])] = fields[i];
}

} // namespace qv

namespace qv {

bool writeValues(std::span<std::uint8_t> image, int shift, std::span<const Assignment> values) {
    std::vector<const Item*> items;
    for (const Assignment& a : values) {
        if (!a.item->accepts(a.value)) return false;
        items.push_back(a.item);
    }
    ValueFields fields(items);
    fields.load(image, shift);
    for (const Assignment& a : values)
        fields.set(*a.item, a.value);
    fields.store(image, shift);
    return true;
}

} // namespace qv
