#include "core/preset.h"

#include <nlohmann/json.hpp>

#include "core/catalog.h"
#include "core/digest.h"
#include "core/itemtext.h"
#include "core/jsondepth.h"
#include "core/rom.h"
#include "core/tables/registry.h"

namespace qv {

using nlohmann::ordered_json;

std::string exportPreset(std::span<const std::uint8_t> file, const std::string& sourceName,
                         bool all, int* skipped) {
    const int shift = layoutShift(file);
    ordered_json parameters = ordered_json::array();
    int outOfBounds = 0;
    for (const ItemRow& r : parameterRows()) {
        const ItemState s = r.item->read(file, shift);
        if (s.outOfBounds) {
            ++outOfBounds;
            continue;
        }
        if (!all && s == ItemState{false, r.item->defaultValue}) continue;
        // The same text `qorv get` prints, so that what is exported is what set accepts.
        parameters.push_back(
            {{"control", r.item->control}, {"value", valueText(*r.item, file, shift)}});
    }
    if (skipped) *skipped = outOfBounds;
    ordered_json doc;
    doc["format"] = kPresetFormat;
    doc["version"] = kPresetVersion;
    doc["source"] = {{"name", sourceName}, {"sha1", sha1Hex(file)}};
    doc["parameters"] = std::move(parameters);
    return doc.dump(2) + "\n";
}

namespace {

std::string entryName(std::size_t index, const std::string& control) {
    std::string name = "entry " + std::to_string(index + 1);
    if (!control.empty()) name += " (" + control + ")";
    return name;
}

} // namespace

PresetPlan planPreset(std::string_view text, std::span<const std::uint8_t> file) {
    PresetPlan plan;
    if (jsonNestsDeeperThan(text, kPresetDepth)) {
        plan.error = "not a preset: it nests deeper than the " + std::to_string(kPresetDepth) +
                     " levels of a preset";
        return plan;
    }
    const ordered_json doc = ordered_json::parse(text, nullptr, false);
    if (doc.is_discarded() || !doc.is_object()) {
        plan.error = "not a preset: the file is not a JSON object";
        return plan;
    }
    const auto format = doc.find("format");
    if (format == doc.end() || !format->is_string() || *format != kPresetFormat) {
        plan.error = "not a preset: \"format\" must be \"" + std::string(kPresetFormat) + "\"";
        return plan;
    }
    const auto version = doc.find("version");
    if (version == doc.end() || !version->is_number_integer() || *version != kPresetVersion) {
        plan.error = "unsupported preset version " +
                     (version == doc.end() ? std::string("(none)") : version->dump()) +
                     "; this version reads version " + std::to_string(kPresetVersion);
        return plan;
    }
    const auto params = doc.find("parameters");
    if (params == doc.end() || !params->is_array()) {
        plan.error = "not a preset: \"parameters\" must be a list";
        return plan;
    }

    std::vector<std::string> problems;
    for (std::size_t i = 0; i < params->size(); ++i) {
        const ordered_json& e = (*params)[i];
        const auto control = e.is_object() ? e.find("control") : e.end();
        const auto value = e.is_object() ? e.find("value") : e.end();
        if (!e.is_object() || control == e.end() || !control->is_string() || value == e.end() ||
            !(value->is_string() || value->is_number_integer())) {
            problems.push_back(entryName(i, "") + ": needs \"control\" and \"value\" as text");
            continue;
        }
        const std::string name = control->get<std::string>();
        const std::string valueText =
            value->is_string() ? value->get<std::string>() : value->dump();
        const std::string where = entryName(i, name);
        const Item* item = findItem(name).item;
        if (!item) {
            problems.push_back(where + ": unknown control \"" + name + "\"");
            continue;
        }
        bool twice = false;
        for (const ValueEdit& earlier : plan.entries)
            twice = twice || earlier.item == item;
        if (twice) {
            problems.push_back(where + ": given more than once");
            continue;
        }
        std::string problem;
        if (auto edit = checkValue(*item, valueText, file, problem))
            plan.entries.push_back(std::move(*edit));
        else
            problems.push_back(where + ": " + problem);
    }
    if (!problems.empty()) {
        plan.entries.clear();
        for (const std::string& p : problems)
            plan.error += (plan.error.empty() ? "" : "\n") + p;
        return plan;
    }
    for (const ValueEdit& e : plan.entries)
        if (e.changes(file)) plan.changes.push_back(e);
    return plan;
}

std::string changeLine(const ValueEdit& c) {
    return c.item->control + ": " + shownText(*c.item, c.before) + " -> " +
           (c.bytes ? valueTextOfBytes(*c.item, *c.bytes) : shownText(*c.item, {false, c.value}));
}

} // namespace qv
