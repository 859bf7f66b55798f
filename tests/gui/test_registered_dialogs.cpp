// Every dialog of the registry, opened the way the main window opens it: OK without
// changes on random images (some items planted with their defaults, so that lists and
// boxes are met in bounds too) rewrites no byte and leaves the document unmodified.
// A dialog is covered here by being registered.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <random>
#include <string>

#include "core/tables/registry.h"
#include "dialogfixture.h"
#include "gui/dialogs/dialogclasses.h"
#include "gui/support/fixtures.h"

namespace {

using qv::DialogEntry;
using qv::test::DialogSessionDriver;
using qv::test::FakeHost;

std::vector<const DialogEntry*> menuEntries() {
    std::vector<const DialogEntry*> out;
    for (const DialogEntry& e : qv::dialogEntries())
        if (e.inMenu()) out.push_back(&e);
    return out;
}

// Random bytes, then about half of the dialog's items written with their defaults.
std::vector<std::uint8_t> plantedImage(const qv::DialogTable& table, std::mt19937& rng, int shift) {
    auto img = qv::test::randomImage(rng, shift);
    for (const qv::Item* it : table.items())
        if (rng() % 2) it->write(img, shift, it->defaultValue);
    return img;
}

class RegisteredDialog : public ::testing::TestWithParam<const DialogEntry*> {};

TEST_P(RegisteredDialog, OkWithoutChangesKeepsRandomImages) {
    const DialogEntry& e = *GetParam();
    const qv::DialogTable& table = e.table();
    const qv::DialogFactory factory = qv::dialogFactory(table.className);
    ASSERT_TRUE(factory) << table.className << " has no registered dialog class";
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed * 7919u);
        const int shift = seed % 2 ? 0 : 512;
        const auto img = plantedImage(table, rng, shift);
        FakeHost host;
        host.open(img);
        DialogSessionDriver<qv::SettingsDialog> s(host, table, factory);
        EXPECT_FALSE(s.ok());
        ASSERT_TRUE(std::equal(img.begin(), img.end(), host.doc.image().begin()));
        EXPECT_FALSE(host.doc.modified());
        EXPECT_EQ(host.edited, 1); // the host follows every OK
    }
}

// The same image with and without a trainer: OK after the same changes leaves the same
// bytes, the trainer image's 512 bytes further on, and its trainer untouched.
TEST_P(RegisteredDialog, OkChangesTheSameBytesWithATrainerFiveHundredTwelveOn) {
    const DialogEntry& e = *GetParam();
    const qv::DialogTable& table = e.table();
    const qv::DialogFactory factory = qv::dialogFactory(table.className);
    for (unsigned seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed * 104729u);
        const auto plain = plantedImage(table, rng, 0);
        auto trained = plain;
        std::vector<std::uint8_t> trainer(512);
        for (auto& b : trainer)
            b = static_cast<std::uint8_t>(rng());
        trained.insert(trained.begin() + 16, trainer.begin(), trainer.end());

        std::vector<std::vector<std::uint8_t>> after;
        for (const auto& img : {plain, trained}) {
            FakeHost host;
            host.open(img);
            DialogSessionDriver<qv::SettingsDialog> s(host, table, factory);
            // Every control the user could change, changed the same way in both.
            for (const qv::Item* it : table.items()) {
                const QString name = QString::fromStdString(it->control);
                if (auto* edit = s.dialog()->findChild<QLineEdit*>(name); edit && edit->isEnabled())
                    edit->setText(QString::number(it->acceptMin));
                if (auto* box = s.dialog()->findChild<QCheckBox*>(name);
                    box && box->isEnabled() && box->checkState() != Qt::PartiallyChecked)
                    box->setChecked(!box->isChecked());
                if (auto* list = s.dialog()->findChild<QComboBox*>(name);
                    list && list->isEnabled() && list->count() > 1)
                    list->setCurrentIndex((list->currentIndex() + 1) % list->count());
            }
            s.ok();
            after.emplace_back(host.doc.fileBytes().begin(), host.doc.fileBytes().end());
        }
        auto expected = after[0];
        expected.insert(expected.begin() + 16, trainer.begin(), trainer.end());
        EXPECT_EQ(after[1], expected);
        EXPECT_EQ(after[1].size(), 41488u);
    }
}

// The dialog made for each entry is the class its table names, with its caption.
TEST_P(RegisteredDialog, FactoryMakesTheTablesClass) {
    const DialogEntry& e = *GetParam();
    FakeHost host;
    host.open(qv::test::blankImage());
    DialogSessionDriver<qv::SettingsDialog> s(host, e.table(),
                                              qv::dialogFactory(e.table().className));
    EXPECT_EQ(s.dialog()->objectName().toStdString(), e.table().className);
    EXPECT_EQ(s.dialog()->windowTitle().toStdString(), e.table().caption);
    EXPECT_FALSE(s.cancel());
}

INSTANTIATE_TEST_SUITE_P(Registry, RegisteredDialog, ::testing::ValuesIn(menuEntries()),
                         [](const ::testing::TestParamInfo<const DialogEntry*>& info) {
                             return std::string(info.param->command);
                         });

} // namespace

// The main window's Edit menu items and buttons come from the registry, in its order.
TEST(RegisteredDialogs, MainWindowMenuAndButtonsFollowTheRegistry) {
    qv::test::WindowFixture f;
    QMenu* edit = f.window->findChild<QMenu*>("mmmEdit");
    ASSERT_NE(edit, nullptr);
    const QList<QAction*> items = edit->actions();
    ASSERT_EQ(items.size(), 11); // Undo, a separator, the nine dialogs
    EXPECT_EQ(items[0]->objectName(), "mmmUndo");
    EXPECT_TRUE(items[1]->isSeparator());
    const auto expectItem = [&](int at, const char* name, const char* text, const char* key) {
        SCOPED_TRACE(name);
        EXPECT_EQ(items[at]->objectName(), name);
        EXPECT_EQ(items[at]->text(), text);
        EXPECT_EQ(items[at]->shortcut(), QKeySequence(key));
        EXPECT_FALSE(items[at]->isEnabled()); // no document yet
    };
    expectItem(2, "mmmMario", "&Mario Settings...", "Ctrl+1");
    expectItem(3, "mmmZenpan1", "&General Settings 1...", "Ctrl+2");
    expectItem(6, "mmmEnemy2", "Enemy Settings &2...", "Ctrl+5");
    expectItem(10, "mmmPallet", "&Palette Settings...", "Ctrl+9");

    const auto expectButton = [&](const char* name, const char* text, int x, int y) {
        SCOPED_TRACE(name);
        auto* b = f.window->findChild<QPushButton*>(name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), text);
        EXPECT_EQ(b->geometry(), QRect(x, y, 97, 21));
        EXPECT_FALSE(b->isEnabled());
    };
    expectButton("BtnMario", "&Mario", 12, 8);
    expectButton("BtnZenpan2", "Ge&neral 2", 224, 8);
    expectButton("BtnEnemy2", "Enemies &2", 118, 32);
    expectButton("BtnPallet", "&Palette", 224, 56);
    EXPECT_EQ(f.window->findChild<QPushButton*>("BtnKihonBloc"), nullptr); // a sub-dialog

    // Opening a document enables them all, through the document's announcement.
    f.window->LoadNesFile(qv::test::writeImage(f.path("g.nes"), 40976));
    for (int i = 2; i < 11; ++i)
        EXPECT_TRUE(items[i]->isEnabled()) << items[i]->objectName().toStdString();
    EXPECT_TRUE(f.window->findChild<QPushButton*>("BtnPallet")->isEnabled());
    EXPECT_TRUE(f.enabled("EditAdr1"));
    EXPECT_EQ(f.window->windowTitle(), "g.nes - Quorvane");
    EXPECT_EQ(f.window->statusPanel(1), "40,976 bytes");

    // An edit committed by anyone shows in the title and the Undo item; closing empties
    // the window again.
    f.edit(0x3454, 0x19);
    EXPECT_EQ(f.window->windowTitle(), "g.nes * - Quorvane");
    EXPECT_EQ(f.window->findChild<QAction*>("mmmUndo")->text(), "&Undo (Mario)");
    f.window->document().undo();
    EXPECT_EQ(f.window->findChild<QAction*>("mmmUndo")->text(), "Cannot &Undo");
    EXPECT_EQ(f.window->windowTitle(), "g.nes - Quorvane");
    f.window->document().close();
    EXPECT_EQ(f.window->windowTitle(), "Quorvane");
    EXPECT_EQ(f.window->statusPanel(1), "");
    EXPECT_FALSE(f.window->findChild<QPushButton*>("BtnMario")->isEnabled());
    EXPECT_FALSE(items[2]->isEnabled());
}

// Spares: none before the window's first paint; then one of each menu dialog, built
// while idle, hidden, owned by the window and polished; an opening takes it (and OK
// on an unchanged image still writes nothing), and the next is built once it closed.
TEST(RegisteredDialogs, SparesAreBuiltAfterTheFirstPaintUsedOnceAndBuiltAgain) {
    FakeHost host;
    std::mt19937 rng(2024);
    host.open(qv::test::randomImage(rng, 0));
    QWidget window;
    host.window = &window;
    qv::DialogSpares spares(host);
    spares.startAfterFirstPaint(&window);
    const auto built = [&] { return window.findChildren<qv::SettingsDialog*>().size(); };
    const auto allBuilt = [&] {
        return QTest::qWaitFor([&] { return built() == qsizetype(menuEntries().size()); }, 20000);
    };
    QTest::qWait(300);
    EXPECT_EQ(built(), 0);

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(allBuilt());
    for (const DialogEntry* e : menuEntries()) {
        const qv::DialogTable& table = e->table();
        SCOPED_TRACE(table.className);
        std::unique_ptr<qv::SettingsDialog> spare(spares.take(table));
        ASSERT_NE(spare, nullptr);
        EXPECT_EQ(spare->objectName().toStdString(), table.className);
        EXPECT_EQ(spare->parentWidget(), &window);
        EXPECT_FALSE(spare->isVisible());
        EXPECT_TRUE(spare->testAttribute(Qt::WA_WState_Polished));
        EXPECT_EQ(spares.take(table), nullptr); // used once
        // Filled with values partly out of bounds, it takes the size a dialog built at
        // the opening takes.
        qv::SettingsSession fromSpare(
            host, table,
            [&](const qv::DialogTable&, qv::DialogHost&, QWidget*) { return spare.release(); });
        fromSpare.load();
        qv::SettingsSession built(host, table, qv::dialogFactory(table.className));
        built.load();
        EXPECT_EQ(fromSpare.dialog()->size(), built.dialog()->size());
    }
    QTest::qWait(300);
    EXPECT_EQ(built(), 0); // not built again until asked

    spares.refill();
    ASSERT_TRUE(allBuilt());
    // The Mario entry's opening takes its spare: OK then finds the values it was given.
    const qv::DialogTable& mario = *qv::findTable("TFormMario");
    QPointer<qv::SettingsDialog> opened;
    QTimer::singleShot(0, [&] {
        opened = qobject_cast<qv::SettingsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(opened, nullptr);
        opened->findChild<QPushButton*>(QStringLiteral("BtnOk"))->click();
    });
    EXPECT_FALSE(qv::runRegisteredDialog(host, *qv::findEntry("TFormMario"), &spares));
    EXPECT_EQ(opened, nullptr); // closed and gone
    EXPECT_EQ(host.edited, 1);
    EXPECT_EQ(spares.take(mario), nullptr); // taken by the opening
    ASSERT_TRUE(allBuilt());                // built again after it closed
}
