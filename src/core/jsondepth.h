#pragma once
// How deep a JSON text nests, found without building its value: a document nested
// far deeper than any of ours can be is refused before a value is made of it, whose
// copies and destruction would recurse once per level.
#include <string_view>

namespace qv {

// Whether arrays and objects in `text` nest more than `maxDepth` levels (the outermost
// one is level 1). Reading stops at the first level too deep; a text that is not
// JSON is not judged here (false).
bool jsonNestsDeeperThan(std::string_view text, int maxDepth);

} // namespace qv
