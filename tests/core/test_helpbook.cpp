#include <gtest/gtest.h>

#include "core/helpbook.h"

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
