#pragma once
// The help book's words beyond the tables: the "Using Quorvane" part (how the program
// is used, topic by topic) and, for each dialog page, a sentence or two on what its
// parameters do in the game and in what units.
#include <span>
#include <string_view>

namespace qv {

struct GuideTopic {
    int context;            // from kGuideContext on
    std::string_view title; // "The address bar"
    std::string_view html;  // the topic's body
};

// The first topic of the part, its overview; the others follow it.
inline constexpr int kGuideContext = 50000;
std::span<const GuideTopic> guideTopics();

// What the page's parameters do, in a sentence or two; empty when none is written.
std::string_view pageDescription(std::string_view dialogClass, std::string_view pageCaption);

} // namespace qv
