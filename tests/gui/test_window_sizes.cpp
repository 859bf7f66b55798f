// Every window fits a 1366 x 768 screen's work area (a 40-pixel panel taken off) with its
// default font, and keeps one size on every page and whatever is selected.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <map>

#include "everywindow.h"
#include "gui/main/placement.h"
#include "gui/support/printqstring.h"

namespace {

const QSize kWorkArea(1366, 728);
// Without a window manager the frame is the client area: allow for a title bar and
// borders as a desktop draws them.
const QSize kDecoration(2 * 4, 30 + 4);

TEST(WindowSizes, EveryWindowFitsTheWorkAreaAndKeepsItsSizeOnEveryPage) {
    std::map<std::string, QSize> first;
    std::string current;
    int views = 0;
    qv::test::visitEveryWindow([&](QWidget& w, const std::string& view, bool isFirst) {
        ++views;
        const QSize size = w.frameGeometry().size();
        EXPECT_LE(size.width() + kDecoration.width(), kWorkArea.width()) << view;
        EXPECT_LE(size.height() + kDecoration.height(), kWorkArea.height()) << view;
        if (isFirst) {
            current = w.objectName().toStdString();
            first[current] = size;
            return;
        }
        EXPECT_EQ(size, first[current]) << view;
    });
    // 3 main-window views, 9 settings dialogs and 4 other windows, 2 sub-dialogs, help.
    EXPECT_GE(first.size(), 17u);
    EXPECT_GT(views, 140);
}

TEST(WindowSizes, EveryTabOfEveryDialogIsInViewAtOnce) {
    int bars = 0;
    qv::test::visitEveryWindow([&](QWidget& w, const std::string& view, bool) {
        for (QTabWidget* tabs : w.findChildren<QTabWidget*>()) {
            QTabBar* bar = tabs->tabBar();
            if (!bar->isVisible()) continue;
            ++bars;
            for (int i = 0; i < bar->count(); ++i)
                EXPECT_TRUE(bar->rect().contains(bar->tabRect(i)))
                    << view << ": " << bar->tabText(i).toStdString();
        }
    });
    EXPECT_GT(bars, 50);
}

// Controls laid out in one place hide each other: a text drawn over a list is unreadable.
TEST(WindowSizes, NoTwoControlsOfAWindowOverlap) {
    int pairs = 0;
    qv::test::visitEveryWindow([&](QWidget& w, const std::string& view, bool) {
        for (QWidget* parent : w.findChildren<QWidget*>()) {
            if (!parent->isVisible()) continue;
            QList<QWidget*> shown;
            for (QObject* o : parent->children()) {
                auto* c = qobject_cast<QWidget*>(o);
                if (c && !c->isWindow() && c->isVisible() &&
                    (qobject_cast<QLabel*>(c) || qobject_cast<QLineEdit*>(c) ||
                     qobject_cast<QComboBox*>(c) || qobject_cast<QAbstractButton*>(c)))
                    shown.push_back(c);
            }
            for (qsizetype i = 0; i < shown.size(); ++i)
                for (qsizetype j = i + 1; j < shown.size(); ++j) {
                    ++pairs;
                    EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                        << view << ": " << shown[i]->objectName().toStdString() << " \""
                        << shown[i]->property("text").toString().toStdString() << "\" and "
                        << shown[j]->objectName().toStdString() << " \""
                        << shown[j]->property("text").toString().toStdString() << "\"";
                }
        }
    });
    EXPECT_GT(pairs, 10000);
}

// Part of the frame that must stay reachable: the title bar.
TEST(WindowSizes, ATitleBarOffEveryScreenIsBroughtBack) {
    const QList<QRect> screens{QRect(0, 0, 1366, 728)};
    const QSize size(340, 230);
    // Where it was saved, when its title bar is on a screen.
    EXPECT_EQ(qv::keepTitleBarOnScreen({100, 200}, size, screens), QPoint(100, 200));
    EXPECT_EQ(qv::keepTitleBarOnScreen({1200, 600}, size, screens), QPoint(1200, 600));
    // Above the top, below the bottom, off the left and right.
    EXPECT_EQ(qv::keepTitleBarOnScreen({100, -40}, size, screens), QPoint(100, 0));
    EXPECT_EQ(qv::keepTitleBarOnScreen({100, 900}, size, screens), QPoint(100, 498));
    EXPECT_EQ(qv::keepTitleBarOnScreen({-600, 100}, size, screens), QPoint(0, 100));
    EXPECT_EQ(qv::keepTitleBarOnScreen({3000, 100}, size, screens), QPoint(1026, 100));
    // On a second screen it stays where it was.
    const QList<QRect> two{QRect(0, 0, 1366, 728), QRect(1366, 0, 1920, 1040)};
    EXPECT_EQ(qv::keepTitleBarOnScreen({2000, 500}, size, two), QPoint(2000, 500));
    EXPECT_EQ(qv::keepTitleBarOnScreen({2000, 1100}, size, two), QPoint(2000, 810));
}

// A settings dialog's remembered place keeps its whole title bar inside the work area,
// even for a dialog taller than the area.
TEST(WindowSizes, ARememberedDialogPositionKeepsTheTitleBarInTheWorkArea) {
    const QRect area(0, 0, 1366, 728);
    EXPECT_EQ(qv::clampToArea({500, -30}, QSize(600, 500), area), QPoint(500, 0));
    EXPECT_EQ(qv::clampToArea({500, 300}, QSize(600, 800), area), QPoint(500, 0));
    EXPECT_EQ(qv::clampToArea({1000, 300}, QSize(600, 500), area), QPoint(766, 228));
}

} // namespace
