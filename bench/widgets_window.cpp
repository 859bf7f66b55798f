// The second floor of the start-up benchmark: the editor's window as plain Qt builds
// it, with nothing behind it. The same menus and items, tool bar, address bar, dialog
// buttons and status panels, showing what the editor shows with a game open, but no
// document, settings, files or game tables. The editor's start against this floor is
// the editor's own work; this floor against the bare window is what its widgets cost.
// It takes the editor's style, whose bars decode their overflow icons only when drawn,
// so that the editor is not credited with that saving either.
// Like the editor with --quit-after-show, it exits right after its first paint.
#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/main/deferredicons.h"
#include "gui/main/firstpaint.h"

namespace {

QIcon plainIcon(int n) {
    QPixmap pixmap(16, 16);
    pixmap.fill(QColor::fromHsv(n * 27 % 360, 160, 200));
    return QIcon(pixmap);
}

struct Item {
    const char* text;
    QKeySequence key;
    int icon;
};

void addItems(QMenu* menu, std::initializer_list<Item> items) {
    for (const Item& i : items) {
        if (!i.text) {
            menu->addSeparator();
            continue;
        }
        QAction* a = menu->addAction(QString::fromLatin1(i.text));
        if (!i.key.isEmpty()) a->setShortcut(i.key);
        if (i.icon >= 0) a->setIcon(plainIcon(i.icon));
    }
}

QWidget* addressBar(QWidget* parent) {
    auto* bar = new QWidget(parent);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(3);
    auto field = [&](const char* label, const char* text, const char* widest) {
        auto* l = new QLabel(QString::fromLatin1(label), bar);
        auto* e = new QLineEdit(QString::fromLatin1(text), bar);
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(QString::fromLatin1(widest)) + 10);
        l->setBuddy(e);
        auto* arrows = new QWidget(bar);
        auto* column = new QVBoxLayout(arrows);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(0);
        for (Qt::ArrowType type : {Qt::UpArrow, Qt::DownArrow}) {
            auto* b = new QToolButton(arrows);
            b->setArrowType(type);
            b->setFixedSize(16, 11);
            column->addWidget(b);
        }
        row->addWidget(l);
        row->addWidget(e);
        row->addWidget(arrows);
    };
    field("A&ddress", "0000", "WWWW");
    row->addSpacing(6);
    field("Val&ue", "00", "WW");
    auto* write = new QToolButton(bar);
    write->setText(QStringLiteral("Wr&ite"));
    write->setAutoRaise(true);
    write->setEnabled(false);
    row->addWidget(write);
    row->addStretch(1);
    return bar;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle(new qv::DeferredIconStyle(QApplication::style()));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("startup.nes - Quorvane"));
    const auto ctrl = [](int key) { return QKeySequence(Qt::CTRL | Qt::Key(key)); };

    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    addItems(file, {{"&Open...", ctrl(Qt::Key_O), 0}});
    file->addMenu(QStringLiteral("R&ecent"))->addAction(QStringLiteral("Recent Files"));
    addItems(file, {{nullptr, {}, -1},
                    {"&Save", ctrl(Qt::Key_S), 1},
                    {"Save &As...", ctrl(Qt::Key_A), 2},
                    {"&Close", ctrl(Qt::Key_E), 3},
                    {nullptr, {}, -1},
                    {"&Reload", ctrl(Qt::Key_R), 4},
                    {nullptr, {}, -1},
                    {"Expor&t Parameters...", {}, -1},
                    {"I&mport Parameters...", {}, -1},
                    {nullptr, {}, -1},
                    {"E&xit", {}, 12}});
    QMenu* edit = window.menuBar()->addMenu(QStringLiteral("&Edit"));
    addItems(edit, {{"&Undo", ctrl(Qt::Key_Z), 10}, {nullptr, {}, -1}});
    const char* dialogs[] = {
        "&Mario Settings...",   "&General Settings 1...", "Ge&neral Settings 2...",
        "Enemy Settings &1...", "Enemy Settings &2...",   "Enemy Settings &3...",
        "&Scoring Settings...", "Co&lor Settings...",     "&Palette Settings..."};
    for (int n = 0; n < 9; ++n)
        addItems(edit, {{dialogs[n], ctrl(Qt::Key_1 + n), -1}});
    QMenu* view = window.menuBar()->addMenu(QStringLiteral("&View"));
    addItems(view, {{"&Always on Top", ctrl(Qt::Key_T), 5},
                    {nullptr, {}, -1},
                    {"&Toolbar", ctrl(Qt::Key_F1), -1},
                    {"A&ddress Bar", ctrl(Qt::Key_F2), -1},
                    {"Standard &Buttons", ctrl(Qt::Key_F3), -1},
                    {"&Status Bar", ctrl(Qt::Key_F4), -1},
                    {nullptr, {}, -1},
                    {"&Changed Parameters...", {}, -1}});
    for (QAction* a : view->actions())
        if (!a->isSeparator() && a->text() != QLatin1String("&Changed Parameters...")) {
            a->setCheckable(true);
            a->setChecked(a->text() != QLatin1String("&Always on Top"));
        }
    QMenu* tools = window.menuBar()->addMenu(QStringLiteral("&Tools"));
    addItems(tools, {{"Editor &1...", QKeySequence(Qt::Key_F9), -1},
                     {"Editor &2...", QKeySequence(Qt::Key_F10), -1},
                     {"Editor &3...", QKeySequence(Qt::Key_F11), -1},
                     {"Editor &4...", QKeySequence(Qt::Key_F12), -1},
                     {nullptr, {}, -1},
                     {"Open &IPS File...", QKeySequence(Qt::Key_F5), 9},
                     {"Create I&PS File...", QKeySequence(Qt::Key_F6), 8},
                     {nullptr, {}, -1},
                     {"&Test Play", QKeySequence(Qt::Key_F7), -1},
                     {nullptr, {}, -1},
                     {"Editor &Options...", QKeySequence(Qt::Key_F4), 7}});
    QMenu* help = window.menuBar()->addMenu(QStringLiteral("&Help"));
    addItems(
        help,
        {{"&Help...", QKeySequence(Qt::Key_F1), 11}, {nullptr, {}, -1}, {"&About...", {}, -1}});

    auto* central = new QWidget(&window);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* toolBar = new QToolBar(central);
    toolBar->setMovable(false);
    toolBar->setIconSize(QSize(16, 16));
    int icon = 0;
    for (const char* tip : std::initializer_list<const char*>{
             "Open", "Save", "Save As...", "Close", "Reload", nullptr, "Open IPS", "Create IPS",
             "Editor Options", nullptr, "Always On Top", nullptr, "Help", nullptr}) {
        if (!tip) {
            toolBar->addSeparator();
            continue;
        }
        auto* b = new QToolButton(toolBar);
        QAction* a = new QAction(plainIcon(icon++), QString::fromLatin1(tip), b);
        b->setDefaultAction(a);
        b->setAutoRaise(true);
        b->setFixedSize(24, 24);
        if (icon == 1) {
            auto* recent = new QMenu(b);
            recent->addAction(QStringLiteral("Recent Files"));
            b->setMenu(recent);
            b->setPopupMode(QToolButton::MenuButtonPopup);
            b->setFixedSize(36, 24);
        }
        if (icon == 2) a->setEnabled(false); // nothing to save yet
        toolBar->addWidget(b);
    }
    column->addWidget(toolBar);
    column->addWidget(addressBar(central));

    auto* panel = new QFrame(central);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setFixedHeight(85);
    auto* grid = new QGridLayout(panel);
    grid->setHorizontalSpacing(9);
    grid->setVerticalSpacing(3);
    const char* buttons[] = {"&Mario",     "&General 1", "Ge&neral 2", "Enemies &1", "Enemies &2",
                             "Enemies &3", "&Scoring",   "Co&lors",    "&Palette"};
    for (int n = 0; n < 9; ++n) {
        auto* b = new QPushButton(QString::fromLatin1(buttons[n]), panel);
        b->setMinimumWidth(97);
        b->setFixedHeight(21);
        grid->addWidget(b, n / 3, n % 3);
    }
    column->addWidget(panel);
    window.setCentralWidget(central);

    auto* status = new QStatusBar(&window);
    status->setSizeGripEnabled(false);
    for (const char* text : {"478 Modifiable Items", "40,976 bytes", "2026/12/07 17:35:42"}) {
        auto* l = new QLabel(QString::fromLatin1(text), status);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        status->addWidget(l, 1);
    }
    window.setStatusBar(status);
    window.layout()->setSizeConstraint(QLayout::SetFixedSize);

    window.installEventFilter(new qv::QuitAfterFirstPaint(&window));
    window.show();
    return app.exec();
}
