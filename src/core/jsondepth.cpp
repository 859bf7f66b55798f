#include "core/jsondepth.h"

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

namespace qv {

namespace {

// The library's event reader walks the text without recursion; this keeps only the
// depth and stops the walk at the first level too deep.
struct DepthLimit {
    int maxDepth = 0;
    int depth = 0;
    bool tooDeep = false;

    bool enter() {
        tooDeep = ++depth > maxDepth;
        return !tooDeep;
    }
    bool leave() {
        --depth;
        return true;
    }
    bool start_object(std::size_t) { return enter(); }
    bool start_array(std::size_t) { return enter(); }
    bool end_object() { return leave(); }
    bool end_array() { return leave(); }
    bool null() { return true; }
    bool boolean(bool) { return true; }
    bool number_integer(std::int64_t) { return true; }
    bool number_unsigned(std::uint64_t) { return true; }
    bool number_float(double, const std::string&) { return true; }
    bool string(std::string&) { return true; }
    bool binary(nlohmann::json::binary_t&) { return true; }
    bool key(std::string&) { return true; }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) {
        return false;
    }
};

} // namespace

bool jsonNestsDeeperThan(std::string_view text, int maxDepth) {
    DepthLimit limit{maxDepth};
    nlohmann::json::sax_parse(text, &limit);
    return limit.tooDeep;
}

} // namespace qv
