#pragma once
// Changed parameters, image differences and explained patches as text: the lines
// `qorv` prints and the editor's windows show.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/changes.h"
#include "core/ips/ips.h"

namespace qv {

// "1 parameter differs", "3 parameters differ".
std::string differCountText(int count);
// The same, then " from the game".
std::string changedCountText(int count);
// "unmodified game", or "modified: 3 parameters differ from the game".
std::string gameStatus(std::span<const std::uint8_t> file);

// The reports are written at the end of one text, each line ended by "\n", so that
// `qorv` writes a whole report at once (the rows "qorv changes" and "qorv diff" of
// make bench); the forms returning lines are for the windows.

// Every changed parameter under its group heading, then those out of bounds.
void changesReport(const ChangeList& list, int shift, std::string& text);
std::vector<std::string> changesReport(const ChangeList& list, int shift);
// The differing parameters (first -> second), those out of bounds, then the bytes
// outside every parameter as ranges.
void diffReport(const ImageDiff& diff, int shiftA, int shiftB, std::string& text);
std::vector<std::string> diffReport(const ImageDiff& diff, int shiftA, int shiftB);

struct PatchExplanation {
    ips::Status status;
    bool withBase = false;
    ImageDiff diff;       // with a base: base against patched
    int writtenBytes = 0; // with a base: the positions the records write, each once
    int shiftBase = 0, shiftPatched = 0;
    std::vector<const ItemRow*> touched; // without a base: parameters the records write
    std::vector<ByteRange> untouched;    // without a base: bytes written outside them
    int untouchedCount = 0;
};
// With a base image (a whole file), applies the patch to a copy of it; without one
// (empty span), lists what the records write, in the 40,976-byte layout.
PatchExplanation explainPatch(std::span<const std::uint8_t> patch,
                              std::span<const std::uint8_t> base,
                              const ips::ApplyOptions& options = {});
std::vector<std::string> explanationReport(const PatchExplanation& e);

} // namespace qv
