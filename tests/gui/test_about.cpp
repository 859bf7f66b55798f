#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include "gui/about/aboutdialog.h"
#include "gui/main/placement.h"
#include "gui/support/scriptedplatform.h"

TEST(About, LinkOpensTheHomePageAndTheBoxStaysOnScreen) {
    qv::test::ScriptedPlatform platform;
    qv::TFormAbout about;
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.findChild<QLabel*>("LabName1")->text(), "Quorvane");
    EXPECT_EQ(about.findChild<QLabel*>("LabThanks")->text(), "Special Thanks:");
    QTest::mouseClick(about.findChild<QLabel*>("LabURL"), Qt::LeftButton);
    ASSERT_EQ(platform.shown().size(), 1u);
    EXPECT_EQ(platform.shown()[0].kind, qv::test::Shown::Url);

    // An owner near the right edge pushes the box left, inside the area.
    const QRect area(0, 0, 800, 600);
    const QPoint at = qv::placeOver(QRect(700, 100, 300, 200), QSize(360, 320), area);
    EXPECT_EQ(at, QPoint(440, 40));
}
