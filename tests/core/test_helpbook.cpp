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
