#pragma once
// Every window a user can open, each visited page by page: the main window, the nine
// settings dialogs, General 1's two sub-dialogs, Editor Options, both IPS dialogs (with
// and without the advanced panel), the help window and About. A visitor is called once
// per window and page with the window shown and laid out.
#include <QAbstractButton>
#include <QApplication>
#include <QLayout>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <functional>
#include <memory>
#include <string>

#include "core/settings.h"
#include "core/tables/registry.h"
#include "dialogfixture.h"
#include "gui/about/aboutdialog.h"
#include "gui/dialogs/basicblocks.h"
#include "gui/dialogs/dialogclasses.h"
#include "gui/dialogs/general1.h"
#include "gui/dialogs/staircaseblocks.h"
#include "gui/ips/ipsmakedialog.h"
#include "gui/ips/ipsopendialog.h"
#include "gui/main/helpservice.h"
#include "gui/settings/optionsdialog.h"
#include "gui/support/fixtures.h"

namespace qv::test {

// The window, a name for messages ("TFormPoint page 2"), and whether this is its first view.
using WindowVisitor = std::function<void(QWidget& window, const std::string& view, bool first)>;

inline void settle(QWidget& w) {
    if (QLayout* l = w.layout()) l->activate();
    QApplication::processEvents();
}

// Shows `w`, then each page of each of its tab controls in turn.
inline void visitPages(QWidget& w, const std::string& name, const WindowVisitor& visit) {
    w.show();
    settle(w);
    visit(w, name, true);
    for (QTabWidget* tabs : w.findChildren<QTabWidget*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            settle(w);
            visit(w, name + " " + tabs->objectName().toStdString() + " page " + std::to_string(i),
                  false);
        }
    }
}

inline void visitSettingsDialog(FakeHost& host, const DialogTable& table, DialogFactory factory,
                                const WindowVisitor& visit) {
    SettingsSession session(host, table, factory);
    session.load();
    SettingsDialog& d = *session.dialog();
    const std::string name = table.className;
    visitPages(d, name, visit);
    // The Color dialog's characters, each selected in turn on its page.
    for (int p = 0; p < d.pages()->count(); ++p) {
        d.pages()->setCurrentIndex(p);
        for (QToolButton* b : d.pages()->widget(p)->findChildren<QToolButton*>()) {
            if (!b->isCheckable() || !b->objectName().startsWith(QLatin1String("Spd"))) continue;
            b->click();
            settle(d);
            visit(d, name + " " + b->objectName().toStdString(), false);
        }
    }
    if (table.className == "TFormZenpan1") {
        auto& g1 = static_cast<TFormZenpan1&>(d);
        auto kihon = g1.openKihonBloc();
        visitPages(*kihon, "TFormKihonBloc", visit);
        auto kaidan = g1.openKaidanBloc();
        visitPages(*kaidan, "TFormKaidanBloc", visit);
    }
    session.finish(false);
}

inline void visitEveryWindow(const WindowVisitor& visit) {
    {
        WindowFixture f;
        f.window->FormShow();
        settle(*f.window);
        visit(*f.window, "TForm1 without a document", true);
        f.window->LoadNesFile(writeImage(f.path("game.nes"), 40976));
        settle(*f.window);
        visit(*f.window, "TForm1 with a document", false);
        f.window->mmmCloseClick();
        settle(*f.window);
        visit(*f.window, "TForm1 after Close", false);
    }

    FakeHost host;
    host.open(blankImage());
    // Every dialog of the Edit menu; the sub-dialogs are visited through their parent.
    for (const DialogEntry& e : dialogEntries())
        if (e.inMenu())
            visitSettingsDialog(host, e.table(), dialogFactory(e.table().className), visit);

    QTemporaryDir dir;
    {
        TFormOption options(dir.filePath(QStringLiteral("qorv.ini")));
        options.load(Settings{});
        options.FormShow();
        visitPages(options, "TFormOption", visit);
    }
    Settings settings;
    {
        TFormIpsOpen open(dir.filePath(QStringLiteral("p.ips")), settings, host.doc, [] {});
        open.prepare(1, 1);
        open.FormShow(false);
        visitPages(open, "TFormIpsOpen", visit);
        open.BtnAdvClick();
        settle(open);
        // The advanced panel widens the dialog on purpose: a size of its own.
        visit(open, "TFormIpsOpen with the advanced panel", true);
    }
    {
        TFormIpsMake make(settings, 40976, dir.filePath(QStringLiteral("game.nes")), {});
        make.FormShow();
        visitPages(make, "TFormIpsMake", visit);
    }
    {
        HelpService::show(nullptr, 0);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("HelpWindow") && w->isVisible()) {
                visitPages(*w, "HelpWindow", visit);
                w->close();
            }
    }
    {
        TFormAbout about;
        about.FormShow();
        visitPages(about, "TFormAbout", visit);
    }
}

} // namespace qv::test
