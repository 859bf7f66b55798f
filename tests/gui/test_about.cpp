#include <QLabel>
#include <gtest/gtest.h>

#include "gui/about/aboutdialog.h"
#include "gui/main/placement.h"
#include "gui/support/scriptedplatform.h"

TEST(About, ShowsNoMadeUpLinkAndTheBoxStaysOnScreen) {
    qv::test::ScriptedPlatform platform;
    qv::TFormAbout about;
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.findChild<QLabel*>("LabName1")->text(), "Quorvane");
    EXPECT_EQ(about.findChild<QLabel*>("LabThanks")->text(), "Special Thanks:");
    // The build names no home page: no address is shown, none can be opened.
    EXPECT_TRUE(qv::TFormAbout::homePage().isEmpty());
    EXPECT_EQ(about.findChild<QLabel*>("LabURL"), nullptr);
    for (const QLabel* l : about.findChildren<QLabel*>())
        EXPECT_FALSE(l->text().contains("http")) << l->text().toStdString();
    EXPECT_TRUE(platform.shown().empty());

    // An owner near the right edge pushes the box left, inside the area.
    const QRect area(0, 0, 800, 600);
    const QPoint at = qv::placeOver(QRect(700, 100, 300, 200), QSize(360, 320), area);
    EXPECT_EQ(at, QPoint(440, 40));
}
