// Patch bytes from the fuzzer through the reader, the applier and the creator.
// The first input byte picks the mode and the target; the rest is the patch.
// A refusal must leave the target as it was, and whatever applies must come
// back unchanged through create-then-apply.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/ips/ips.h"

using namespace qv::ips;

namespace {
void check(bool ok) {
    if (!ok) __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t pick = data[0];
    const std::span<const std::uint8_t> patch(data + 1, size - 1);

    const Parsed parsed = parse(patch);
    std::size_t lines = 0;
    const std::string fault = describe(patch, [&](std::string_view) { ++lines; });
    check(lines == parsed.records.size() && fault.empty() == parsed.status.ok());

    const auto mode = static_cast<Mode>(pick % 5);
    const int kind = (pick / 5) % 3; // 40,976 / 41,488 / any buffer
    const bool game = kind != 2;
    // The targets' bytes are made once: a run copies them rather than computing 40 KB.
    static const std::vector<std::uint8_t> pattern = [] {
        std::vector<std::uint8_t> p(41488);
        for (std::size_t i = 0; i < p.size(); ++i)
            p[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
        return p;
    }();
    const std::size_t length = kind == 0 ? 40976 : kind == 1 ? 41488 : 64 + pick;
    // Buffers kept from run to run: fresh 40 KB ones each run cost more than the run.
    static std::vector<std::uint8_t> target, before, again;
    target.assign(pattern.begin(), pattern.begin() + static_cast<std::ptrdiff_t>(length));
    before = target;

    const Status s = applyPatch(patch, target, {mode, game});
    if (!s.ok()) {
        check(target == before);
        check(!message(s).empty());
        return 0;
    }
    check(parsed.status.ok()); // the applier is never more lenient than the reader
    if (game) check(target.size() == 40976 || target.size() == 41488);
    if (target.size() != before.size()) return 0;

    const Created created = create(before, target);
    check(created.status.ok());
    for (const Record& r : parse(created.patch).records)
        check(r.offset != kEndMarkerOffset);
    again = before;
    check(applyPatch(created.patch, again, {Mode::None, game}).ok());
    check(again == target);
    return 0;
}
