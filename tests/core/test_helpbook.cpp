#include <gtest/gtest.h>

#include "core/helpbook.h"
#include "core/helpguide.h"
#include "core/tables/registry.h"

TEST(HelpBook, TopicsComeFromTheTablesAndTheFixedList) {
    // A group topic names its dialog and page and lists its items with their ranges.
    const qv::HelpTopic* walk = qv::findHelpTopic(13396);
    ASSERT_NE(walk, nullptr);
    EXPECT_EQ(walk->title, "Walking / Swimming Speed");
    EXPECT_NE(walk->html.find("Mario Settings &gt; Speed"), std::string::npos);
    EXPECT_NE(walk->html.find("<b>Right:</b> [-128～127 Default: 24]"), std::string::npos);
    EXPECT_NE(walk->html.find("<b>Left:</b> [-127～128 Default: 24]"), std::string::npos);

    // A dialog topic links to its groups.
    const qv::HelpTopic* mario = qv::findHelpTopic(100);
    ASSERT_NE(mario, nullptr);
    EXPECT_EQ(mario->title, "Mario Settings");
    EXPECT_NE(mario->html.find("<a href=\"topic:13396\">Walking / Swimming Speed</a>"),
              std::string::npos);

    // Bowser's fire: 0x5161 is the first world without fire, 0x515D the one world with
    // fire anyway.
    EXPECT_EQ(qv::findHelpTopic(20833)->title, "First World Bowser Does Not Breathe Fire");
    EXPECT_EQ(qv::findHelpTopic(20829)->title, "World Bowser Breathes Fire Anyway");
    EXPECT_EQ(qv::findHelpTopic(20829)->html.find("Does Not Breathe"), std::string::npos);

    ASSERT_NE(qv::findHelpTopic(501), nullptr);
    EXPECT_EQ(qv::findHelpTopic(7000)->title, "Editor Options");
    EXPECT_EQ(qv::findHelpTopic(99999), nullptr);

    const std::string contents = qv::helpContentsHtml();
    EXPECT_NE(contents.find("<a href=\"topic:100\">Mario Settings</a>"), std::string::npos);
    EXPECT_NE(contents.find("<a href=\"topic:200\">General Settings 1</a>"), std::string::npos);

    EXPECT_EQ(qv::plainCaption("&Right:"), "Right:");
    EXPECT_EQ(qv::plainCaption("R&&D &x"), "R&D x");
    EXPECT_EQ(qv::plainCaption("end&"), "end");
}

TEST(HelpBook, EachItemListsItsValuesOffsetsInBothLayoutsAndEncoding) {
    const qv::HelpTopic* walk = qv::findHelpTopic(13396);
    ASSERT_NE(walk, nullptr);
    EXPECT_NE(walk->html.find("<code>EditMaWalk_R</code><br>Accepted: a whole number from -128 to "
                              "127<br>Default: 24<br>Offsets: 0x3454 (with trainer 0x3654)<br>"
                              "Encoding: signed byte (two's complement)"),
              std::string::npos)
        << walk->html;
    EXPECT_NE(walk->html.find("Offsets: 0x3451 (with trainer 0x3651)<br>Encoding: negated"),
              std::string::npos);

    // A list names each entry's byte: the pipe exit height stores 16 * index + 1.
    const qv::HelpTopic* pipe = qv::findHelpTopic(12472);
    ASSERT_NE(pipe, nullptr);
    EXPECT_NE(pipe->html.find("-1 = 01, 0 = 11, 1 = 21"), std::string::npos) << pipe->html;
    EXPECT_NE(pipe->html.find("8  [Default] = 91"), std::string::npos);

    // A check box names both byte patterns.
    const qv::HelpTopic* damage = qv::findHelpTopic(22844);
    ASSERT_NE(damage, nullptr);
    EXPECT_NE(damage->html.find("<code>ChkMuteki1</code><br>Accepted: checked or unchecked<br>"
                                "Default: unchecked<br>Offsets: 0x593C-0x593E (with trainer "
                                "0x5B3C-0x5B3E)<br>Encoding: pattern A (checked) A6 08 60, "
                                "pattern B (unchecked) AD 9E 07"),
              std::string::npos)
        << damage->html;

    // Search looks at titles first, then at the text a reader sees.
    const auto found = qv::searchHelp("WALKING / swimming");
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found[0]->context, 13396);
    EXPECT_FALSE(qv::searchHelp("ChkMuteki1").empty());
    EXPECT_TRUE(qv::searchHelp("<code>").empty()); // markup is not text
    EXPECT_TRUE(qv::searchHelp("").empty());
}

// Help covers the program too, and every page says what its parameters do.
TEST(HelpBook, UsingQuorvaneAndEveryPageExplained) {
    // Each found by its title (title matches come first).
    const auto titled = [](std::string_view query, std::string_view title) {
        for (const qv::HelpTopic* t : qv::searchHelp(query))
            if (t->title == title) return true;
        return false;
    };
    EXPECT_TRUE(titled("test play", "Test Play and Play"));
    EXPECT_TRUE(titled("preset", "Presets: exporting and importing parameters"));
    EXPECT_TRUE(titled("address bar", "The address bar"));
    EXPECT_TRUE(titled("qorv", "The command-line tool, qorv"));
    EXPECT_EQ(qv::searchHelp("test play")[0]->title, "Test Play and Play");
    EXPECT_NE(qv::helpContentsHtml().find("<a href=\"topic:50000\">Using Quorvane</a>"),
              std::string::npos);
    const qv::HelpTopic* guide = qv::findHelpTopic(50000);
    ASSERT_NE(guide, nullptr);
    for (int c = 50001; c <= 50009; ++c) {
        EXPECT_NE(qv::findHelpTopic(c), nullptr) << c;
        EXPECT_NE(guide->html.find("topic:" + std::to_string(c)), std::string::npos) << c;
    }

    // Each page of each dialog: a sentence on what it does, in its dialog's topic and its
    // groups' topics.
    for (const qv::DialogTable* t : qv::dialogTables())
        for (const qv::Page& p : t->pages)
            EXPECT_FALSE(qv::pageDescription(t->className, p.caption).empty())
                << t->className << " / " << p.caption;
    const qv::HelpTopic* walk = qv::findHelpTopic(13396);
    EXPECT_NE(walk->html.find("sixteenths of a pixel per frame"), std::string::npos);
    EXPECT_NE(qv::findHelpTopic(100)->html.find("sixteenths of a pixel per frame"),
              std::string::npos);

    // The block column encoding in words: bit n is row n.
    const qv::HelpTopic* blocks = qv::findHelpTopic(5100);
    ASSERT_NE(blocks, nullptr);
    EXPECT_NE(blocks->html.find("Encoding: block column: the 13-bit number has bit n set when "
                                "row n is filled"),
              std::string::npos)
        << blocks->html;
}
