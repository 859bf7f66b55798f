#pragma once
// An item's offsets as a vector, to compare with a list written out in a test.
#include <vector>

#include "core/items.h"

namespace qvtest {

inline std::vector<int> offsetsOf(const qv::Item& item) {
    return {item.offsets.begin(), item.offsets.end()};
}

} // namespace qvtest
