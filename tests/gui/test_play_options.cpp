// Editor Options > Play: the core and the keys of the controller, in and out.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "gui/play/playkeys.h"
#include "gui/settings/optionsdialog.h"

TEST(PlayOptions, KeysAreTakenByPressingThem) {
    qv::Settings s;
    s.play.core = "/opt/cores/nestopia_libretro.so";
    qv::TFormOption dialog(QStringLiteral("/nonexistent/qorv.ini"));
    dialog.load(s);
    auto* core = dialog.findChild<QLineEdit*>(QStringLiteral("EditPlayCore"));
    ASSERT_NE(core, nullptr);
    EXPECT_EQ(core->text(), "/opt/cores/nestopia_libretro.so");
    auto* a = dialog.findChild<qv::KeyButton*>(QStringLiteral("BtnPlayKeyA"));
    auto* select = dialog.findChild<qv::KeyButton*>(QStringLiteral("BtnPlayKeySelect"));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(select, nullptr);
    EXPECT_EQ(a->text(), "X");
    EXPECT_EQ(select->text(), "Right Shift");

    dialog.show();
    a->click();
    EXPECT_EQ(a->text(), "Press a key...");
    QTest::keyClick(a, Qt::Key_C);
    EXPECT_EQ(a->text(), "C");
    select->click();
    QTest::keyClick(select, Qt::Key_Escape); // keeps the key it had
    EXPECT_EQ(select->text(), "Right Shift");
    auto* start = dialog.findChild<qv::KeyButton*>(QStringLiteral("BtnPlayKeyStart"));
    start->click();
    QTest::keyClick(start, Qt::Key_Delete); // no key
    EXPECT_EQ(start->text(), "(none)");
    core->setText(QString());

    dialog.store(s);
    EXPECT_EQ(s.play.keys, (std::array<std::string, 8>{"Up", "Down", "Left", "Right", "Z", "C", "",
                                                       "Right Shift"}));
    EXPECT_EQ(s.play.core, "");
}
