// qorv changes / diff / export / import / ips explain: what an image, a pair of
// images, a preset or a patch changes, in parameters. The work is in core.
#include <iostream>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "core/changereport.h"
#include "core/fileio.h"
#include "core/ini.h"
#include "core/inipath.h"
#include "core/ips/ipsfile.h"
#include "core/itemtext.h"
#include "core/knowngames.h"
#include "core/pathinfo.h"
#include "core/preset.h"
#include "core/settings.h"
#include "core/system.h"

namespace qv::cli {
namespace {

using nlohmann::ordered_json;

void print(std::string_view line) {
    std::cout << line << '\n';
}

ordered_json rowJson(const ItemRow& r) {
    return {{"dialog", dialogName(*r.table)},
            {"page", stripMnemonic(r.page->caption)},
            {"group", stripMnemonic(r.group->caption)},
            {"label", labelOf(r)},
            {"control", r.item->control}};
}

ordered_json rangesJson(const std::vector<ByteRange>& ranges) {
    ordered_json out = ordered_json::array();
    for (const ByteRange& r : ranges)
        out.push_back({{"offsets", rangeOffsets(r)}, {"count", r.count()}});
    return out;
}

ordered_json diffJson(const ImageDiff& d, int shiftA, int shiftB, const char* nameA,
                      const char* nameB) {
    ordered_json changed = ordered_json::array(), outOfBounds = ordered_json::array();
    for (const auto& [list, target] :
         {std::pair{&d.changed, &changed}, {&d.outOfBounds, &outOfBounds}})
        for (const Change& c : *list) {
            const Item& item = *c.row->item;
            ordered_json row = rowJson(*c.row);
            row[nameA] = shownText(item, c.value);
            row[nameB] = shownText(item, c.other);
            row[std::string("offsets_") + nameA] = offsetsIn(item.offsets, shiftA);
            row[std::string("offsets_") + nameB] = offsetsIn(item.offsets, shiftB);
            target->push_back(std::move(row));
        }
    ordered_json out;
    out["equal"] = d.equal();
    out["changed"] = std::move(changed);
    out["out_of_bounds"] = std::move(outOfBounds);
    out["bytes_outside"] = {{"count", d.outsideCount}, {"ranges", rangesJson(d.outside)}};
    out["bytes_inside_same_value"] = d.hiddenCount;
    out["trainer"] = {{nameA, d.trainerA}, {nameB, d.trainerB}, {"bytes_differ", d.trainerBytes}};
    return out;
}

std::string readText(const std::string& path) {
    if (const std::string what = notAFile(path); !what.empty())
        throw Failure{Exit::BadInput, path + ": " + what};
    // A preset names at most every parameter once; anything much larger is not one.
    constexpr std::uintmax_t kLimit = 16u << 20;
    if (const auto size = readableFileSize(path); size && *size > kLimit)
        throw Failure{Exit::BadInput, path + ": too large (limit 16 MiB)"};
    const auto bytes = readWholeFile(path, kLimit);
    if (!bytes) throw Failure{Exit::BadInput, path + ": cannot be read"};
    return {bytes->begin(), bytes->end()};
}

std::string defaultBase() {
    IniFile ini(locateIniFile(executableFolder()));
    if (!ini.load()) return {};
    return readSettings(ini).nesFile[0];
}

} // namespace

void changes(const std::string& file, bool json) {
    const ImageFile image = readImage(file);
    const ChangeList list = changedParameters(image.bytes, image.shift);
    // The game's own bytes read as every parameter's default, so an image with a
    // parameter changed or out of bounds is not the game: its CRC is left out (the rows
    // "qorv changes" of make bench).
    const bool asTheGame = list.changed.empty() && list.outOfBounds.empty();
    const KnownGame* known = asTheGame ? recognise(image.bytes) : nullptr;
    if (json) {
        ordered_json changed = ordered_json::array(), outOfBounds = ordered_json::array();
        for (const Change& c : list.changed) {
            const Item& item = *c.row->item;
            ordered_json row = rowJson(*c.row);
            row["value"] = shownText(item, c.value);
            row["default"] = defaultText(item);
            row["offsets"] = offsetsIn(item.offsets, image.shift);
            changed.push_back(std::move(row));
        }
        for (const Change& c : list.outOfBounds) {
            const Item& item = *c.row->item;
            ordered_json row = rowJson(*c.row);
            row["bytes"] = bytesText(itemBytes(item, image.bytes, image.shift));
            row["default"] = defaultText(item);
            row["offsets"] = offsetsIn(item.offsets, image.shift);
            outOfBounds.push_back(std::move(row));
        }
        ordered_json out;
        out["file"] = file;
        out["unmodified"] = known != nullptr;
        out["changed"] = std::move(changed);
        out["out_of_bounds"] = std::move(outOfBounds);
        std::cout << out.dump(2) << "\n";
        return;
    }
    std::string text =
        known ? std::string("Unmodified game image") : changedCountText(list.count());
    text += '\n';
    changesReport(list, image.shift, text);
    std::cout << text;
}

int diff(const std::string& a, const std::string& b, bool json) {
    const ImageFile fileA = readImage(a);
    const ImageFile fileB = readImage(b);
    const ImageDiff d = diffImages(fileA.bytes, fileB.bytes);
    if (json) {
        ordered_json out;
        out["a"] = a;
        out["b"] = b;
        const ordered_json body = diffJson(d, fileA.shift, fileB.shift, "a", "b");
        for (const auto& [k, v] : body.items())
            out[k] = v;
        std::cout << out.dump(2) << "\n";
    } else if (d.equal()) {
        std::cout << "The images hold the same bytes\n";
    } else {
        std::string text =
            differCountText(static_cast<int>(d.changed.size())) + " (" + a + " -> " + b + ")\n";
        diffReport(d, fileA.shift, fileB.shift, text);
        std::cout << text;
    }
    return d.equal() ? 0 : 1;
}

void exportPreset(const std::string& file, const std::optional<std::string>& output, bool all) {
    refuseOutputOver(output, {&file});
    const auto doc = loadImage(file);
    int skipped = 0;
    const std::string text = qv::exportPreset(doc->fileBytes(), baseName(file), all, &skipped);
    if (output) {
        const std::span bytes{reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
        const WriteResult r = writeFileAtomic(*output, bytes);
        if (!r.ok)
            throw Failure{Exit::BadInput, "cannot write " + *output + ": " + oneLine(r.error)};
    } else {
        std::cout << text;
    }
    if (skipped > 0)
        std::cerr << "qorv: note: " << skipped << (skipped == 1 ? " item is" : " items are")
                  << " out of bounds in this image and left out\n";
}

void importPreset(const std::string& file, const std::string& preset,
                  const std::optional<std::string>& output, bool dryRun) {
    refuseOutputOver(output, {&preset}); // GAME as OUT is the same as no -o
    const std::string text = readText(preset);
    const std::string target = output.value_or(file);
    const FileLock lock = dryRun ? FileLock() : lockTarget(target);
    const auto doc = loadImage(file);
    const PresetPlan plan = planPreset(text, doc->fileBytes());
    if (!plan.ok()) throw Failure{Exit::BadInput, preset + ": " + plan.error};
    const std::string error = doc->apply(plan.entries, "Import Parameters");
    if (!error.empty()) throw Failure{Exit::BadInput, preset + ": " + error};
    // Reported before the image is written, which it is only once the report is out:
    // exit status 2 keeps meaning that nothing was written.
    for (const ValueEdit& c : plan.changes)
        std::cout << (dryRun ? "would set " : "") << changeLine(c) << "\n";
    if (plan.changes.empty()) std::cout << "no parameter changes\n";
    if (!dryRun) {
        if (!std::cout.flush())
            throw Failure{Exit::BadInput, "nothing was written to " + target +
                                              ", as the report could not be written"};
        const WriteResult r = writeFileAtomic(target, doc->fileBytes());
        if (!r.ok)
            throw Failure{Exit::BadInput, "cannot write " + target + ": " + oneLine(r.error)};
    }
}

void ipsExplain(const std::string& patchPath, const std::optional<std::string>& basePath) {
    const std::vector<std::uint8_t> patch = readPatch(patchPath);
    std::string base = basePath.value_or("");
    if (base.empty()) base = defaultBase();
    std::unique_ptr<RomDocument> doc;
    if (!base.empty()) doc = loadImage(base);
    const PatchExplanation e =
        explainPatch(patch, doc ? doc->fileBytes() : std::span<const std::uint8_t>{});
    if (!e.status.ok()) throw Failure{Exit::BadInput, oneLine(ips::message(e.status))};
    if (doc) std::cout << "Base: " << base << "\n";
    for (const std::string& line : explanationReport(e))
        print(line);
}

} // namespace qv::cli
