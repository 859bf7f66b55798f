#include "core/helpbook.h"

#include <algorithm>
#include <map>

#include "core/helpguide.h"
#include "core/helpitems.h"
#include "core/tables/registry.h"

namespace qv {
namespace {

std::string escape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string link(int context, std::string_view text) {
    return "<a href=\"topic:" + std::to_string(context) + "\">" + escape(text) + "</a>";
}

// Everything a user may want of an item: what it is called, what it takes, where its
// bytes are in either layout and how they hold the value.
std::string itemLine(const Item& item) {
    const ItemDetails d = itemDetails(item);
    std::string line =
        "<li><b>" + escape(plainCaption(item.label.empty() ? item.control : item.label)) + "</b>";
    if (item.kind == ItemKind::Numeric) line += " " + escape(item.rangeLabel());
    return line + " <code>" + escape(d.control) + "</code><br>Accepted: " + escape(d.accepted) +
           "<br>Default: " + escape(d.defaultValue) + "<br>Offsets: " + escape(d.offsets) +
           "<br>Encoding: " + escape(d.encoding) + "</li>";
}

// What no table says: the dialog buttons, the Editor Options controls, the main window.
struct Fixed {
    int context;
    const char* title;
    const char* text;
};
constexpr Fixed kFixed[] = {
    {501, "OK",
     "Writes the values shown into the open image as one change that Undo can take back."},
    {502, "Cancel", "Closes the window without changing anything."},
    {503, "Help", "Opens the help topic of this window."},
    {7000, "Editor Options",
     "Confirmations, general behaviour, the recent-file list, the palette colour source, the base "
     "NES files for IPS work and the external editors."},
    {7001, "Always Confirm Saving Changes", "Asks before Save overwrites the file."},
    {7002, "Confirm Load Even When No Changes", "Asks before Reload even when nothing was edited."},
    {7003, "Confirm Undoing Changes", "Asks before Undo."},
    {7004, "Confirm Resetting to Default Value", "Reset buttons and the Luigi button ask first."},
    {7005, "Confirm Address Bar Writes", "The address bar asks before it writes a byte."},
    {7006, "Confirm File Creation When Applying an IPS",
     "Refuses to create a patch when the base equals the open image."},
    {7007, "Confirm Creating IPS File", "Reports when a patch has been created."},
    {7101, "Restore Form Positions at Startup", "The main window opens where it was closed."},
    {7102, "Unset Always On Top at Startup", "The program always starts without Always on Top."},
    {7103, "Save Always Available", "Save stays enabled without edits."},
    {7104, "Display Full Path in Filenames", "The title shows the whole path of the open file."},
    {7105, "Create Backup Files", "Saving keeps the previous file as name.~nes."},
    {7106, "Check Files for External Update",
     "Asks to reload when another program changed the open file."},
    {7107, "Display Icons Next to Menu Options", "Menus show their icons."},
    {7201, "Palette Color Source", "Which colour table the palette pickers show."},
    {7202, "Recent Files", "How many recent files the File menu keeps, 0 to 32."},
    {7203, "Delete History", "Empties the recent-file list at once."},
    {7301, "Default NES File (40,976 Bytes)",
     "The clean image that patches are applied to and created against."},
    {7302, "Default NES File w/ Trainer (41,488 Bytes)",
     "The clean image with a trainer, for the same purpose."},
    {7401, "Display Menu", "The caption of the editor in the Tools menu."},
    {7402, "External Editor File", "The program that the Tools menu starts."},
    {7403, "Use Command Line Arguments", "Passes the open file to the program."},
    {7017, "Display Menu", "The caption of the editor in the Tools menu."},
    {7018, "External Editor File", "The program that the Tools menu starts."},
    {7019, "Arguments", "Passes the open file to the program."},
};

std::vector<HelpTopic> build() {
    std::map<int, HelpTopic> topics;
    const auto add = [&](int context, std::string_view title, const std::string& html) {
        if (context <= 0) return;
        HelpTopic& t = topics[context];
        // Two groups may share a context; the topic then describes both.
        if (t.context == 0) {
            t.context = context;
            t.title = std::string(title);
        }
        t.html += html;
    };
    for (const DialogTable* table : dialogTables()) {
        std::string overview;
        for (const Page& page : table->pages) {
            const std::string_view words = pageDescription(table->className, page.caption);
            const std::string about = words.empty() ? "" : "<p>" + escape(words) + "</p>";
            overview += "<h3>" + escape(page.caption) + "</h3>" + about + "<ul>";
            for (const Group& group : page.groups) {
                overview += "<li>" +
                            (group.helpContext > 0 ? link(group.helpContext, group.caption)
                                                   : escape(group.caption)) +
                            "</li>";
                std::string body = "<p>" + escape(table->caption) + " &gt; " +
                                   escape(page.caption) + "</p>" + about + "<ul>";
                for (const Item& item : group.items)
                    body += itemLine(item);
                body += "</ul>";
                for (const std::string_view note : group.notes)
                    body += "<p>" + escape(note) + "</p>";
                add(group.helpContext, group.caption, body);
            }
            overview += "</ul>";
        }
        add(table->helpContext, table->caption, overview);
    }
    for (const Fixed& f : kFixed)
        add(f.context, f.title, "<p>" + escape(f.text) + "</p>");
    for (const GuideTopic& g : guideTopics())
        add(g.context, std::string(g.title), std::string(g.html));
    std::vector<HelpTopic> out;
    for (auto& [context, topic] : topics)
        out.push_back(std::move(topic));
    return out;
}

} // namespace

std::string plainCaption(std::string_view caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') {
            out += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
            out += '&'; // "&&" is a literal ampersand
            ++i;
        }
    }
    return out;
}

const std::vector<HelpTopic>& helpTopics() {
    static const std::vector<HelpTopic> topics = build();
    return topics;
}

const HelpTopic* findHelpTopic(int context) {
    const auto& all = helpTopics();
    const auto it = std::lower_bound(all.begin(), all.end(), context,
                                     [](const HelpTopic& t, int c) { return t.context < c; });
    return it != all.end() && it->context == context ? &*it : nullptr;
}

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// The text a reader sees: tags dropped, the few entities the book writes decoded.
std::string visibleText(std::string_view html) {
    std::string out;
    bool inTag = false;
    for (char c : html) {
        if (c == '<')
            inTag = true;
        else if (c == '>')
            inTag = false;
        else if (!inTag)
            out += c;
    }
    for (const auto& [entity, plain] : {std::pair<std::string_view, std::string_view>{"&lt;", "<"},
                                        {"&gt;", ">"},
                                        {"&quot;", "\""},
                                        {"&amp;", "&"}})
        for (std::size_t at = out.find(entity); at != std::string::npos;
             at = out.find(entity, at + plain.size()))
            out.replace(at, entity.size(), plain);
    return out;
}

} // namespace

std::vector<const HelpTopic*> searchHelp(std::string_view query) {
    const std::string q = lower(query);
    std::vector<const HelpTopic*> byTitle, byText;
    if (q.empty()) return byTitle;
    for (const HelpTopic& t : helpTopics()) {
        if (lower(t.title).find(q) != std::string::npos)
            byTitle.push_back(&t);
        else if (lower(visibleText(t.html)).find(q) != std::string::npos)
            byText.push_back(&t);
    }
    byTitle.insert(byTitle.end(), byText.begin(), byText.end());
    return byTitle;
}

std::string helpContentsHtml() {
    std::string html =
        "<h2>Contents</h2><ul><li>" + link(kGuideContext, "Using Quorvane") + "</li>";
    for (const DialogTable* table : dialogTables())
        if (table->helpContext > 0)
            html += "<li>" + link(table->helpContext, table->caption) + "</li>";
    html += "<li>" + link(7000, "Editor Options") + "</li></ul><h2>Index</h2><ul>";
    std::vector<const HelpTopic*> sorted;
    for (const HelpTopic& t : helpTopics())
        sorted.push_back(&t);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const HelpTopic* a, const HelpTopic* b) { return a->title < b->title; });
    for (const HelpTopic* t : sorted)
        html += "<li>" + link(t->context, t->title) + "</li>";
    return html + "</ul>";
}

} // namespace qv
