#pragma once
// A dialog's value fields (one int per parameter byte it edits, loaded sign-extended
// from the image and written back as their low 8 bits), and writeValues(), which stores
// values given by number through the same fields. Items naming the same byte share its
// field, so two controls over one byte see each other's changes.
#include <cstdint>
#include <span>
#include <vector>

#include "core/items.h"

namespace qv {

struct DialogTable;

class ValueFields {
  public:
    // The fields of the table's items and of its sub-dialogs' items.
    explicit ValueFields(const DialogTable& table);
    // The fields of these items only.
    explicit ValueFields(std::span<const Item* const> items);

    void load(std::span<const std::uint8_t> image, int shift);
    // Writes every field back, touched or not: untouched fields rewrite the byte they
    // came from.
    void store(std::span<std::uint8_t> image, int shift) const;

    ItemState state(const Item& item) const;
    // Encodes an accepted value into the item's fields; others are ignored.
    void set(const Item& item, int value);

    // One field by its offset, for the sub-dialogs that edit bits of bytes; the offset
    // must be one of the fields.
    int value(int offset) const { return values_[indexOf(offset)]; }
    void setValue(int offset, int field) { values_[indexOf(offset)] = field; }

    const std::vector<int>& offsets() const { return offsets_; } // sorted, unique
    const std::vector<int>& values() const { return values_; }

  private:
    void add(const Item& item);
    void finish();
    std::size_t indexOf(int offset) const;

    std::vector<int> offsets_;
    std::vector<int> values_;
};

struct Assignment {
    const Item* item = nullptr;
    int value = 0;
};
// Stores each value in turn through the items' value fields, so that items sharing a
// byte see each other's changes. Returns false and writes nothing when any value is
// not accepted by its item.
bool writeValues(std::span<std::uint8_t> image, int shift, std::span<const Assignment> values);

} // namespace qv
