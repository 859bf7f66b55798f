#pragma once
// The help book: one topic per help-context number, written from the dialog tables
// (every group box is a topic, every dialog a topic listing its groups) and a few
// fixed topics for what no table describes.
#include <string>
#include <string_view>
#include <vector>

namespace qv {

struct HelpTopic {
    int context = 0;
    std::string title;
    std::string html; // the topic's body; links to other topics read "topic:N"
};

// Every topic, contexts ascending.
const std::vector<HelpTopic>& helpTopics();
const HelpTopic* findHelpTopic(int context);
// The topics whose title or text mentions `query` (any case, tags aside), titles first.
std::vector<const HelpTopic*> searchHelp(std::string_view query);
// The contents (dialogs with their pages and groups) and an alphabetical index.
std::string helpContentsHtml();
// A caption as shown: "&Right:" -> "Right:", "R&&D" -> "R&D".
std::string plainCaption(std::string_view caption);

} // namespace qv
