// The Play window's construction, menus, tool bar and keys. The game commands and
// the frame loop live in playcommands.cpp.
#include "gui/play/playwindow.h"

#include <QAction>
#include <QActionGroup>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "core/play/corefind.h"
#include "gui/play/playkeys.h"
#include "gui/play/playscreen.h"
#include "gui/play/watchpanel.h"

namespace qv {

PlayWindow* PlayWindow::open(RomDocument& doc, Settings& settings,
                             std::function<void()> saveSettings,
                             const QList<QAction*>& editorActions, QWidget* parent, QString& error,
                             const QStringList& ioFolders) {
    const std::string core = play::findCore(settings.play.core, play::coreFolders());
    if (core.empty()) {
        error = QString::fromStdString(play::noCoreMessage());
        return nullptr;
    }
    std::string why;
    auto host = play::PlayHost::open(core, why);
    if (host && !host->load(doc.fileBytes(), why)) host.reset();
    if (!host) {
        error =
            QStringLiteral("The game could not be played.\r\n%1").arg(QString::fromStdString(why));
        return nullptr;
    }
    QString ioProblem;
    const PlayIo* io = openPlayIo(ioFolders, ioProblem);
    auto* window = new PlayWindow(doc, settings, std::move(saveSettings), std::move(host),
                                  io ? *io : silentPlayIo(), parent);
    window->createActions(editorActions);
    window->startAt({window->world_->value(), window->level_->value(), window->page_->value()});
    if (!io)
        window->setStatus(
            QStringLiteral("%1; no sound or pads: %2").arg(window->status(), ioProblem));
    return window;
}

PlayWindow::PlayWindow(RomDocument& doc, Settings& settings, std::function<void()> saveSettings,
                       std::unique_ptr<play::PlayHost> host, const PlayIo& io, QWidget* parent)
    : QMainWindow(parent, Qt::Window), doc_(doc), settings_(settings),
      saveSettings_(std::move(saveSettings)), host_(std::move(host)) {
    setObjectName(QStringLiteral("FormPlay"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Play - %1").arg(QString::fromStdString(host_->coreName())));
    loaded_.assign(doc_.fileBytes().begin(), doc_.fileBytes().end());
    following_ = doc_.subscribe([this](const DocumentEvent& e) { documentChanged(e); });

    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(4, 4, 4, 4);
    screen_ = new PlayScreen(central);
    row->addWidget(screen_, 0, Qt::AlignTop);
    watch_ = new WatchPanel(central);
    row->addWidget(watch_, 1);
    setCentralWidget(central);
    createToolBar();
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("PlayStatus"));
    statusBar()->addWidget(statusLabel_, 1);
    setFocusProxy(screen_);
    screen_->setFocus();

    audio_.reset(io.audio(host_->sampleRate()));
    audio_->setVolume(settings_.play.volume, settings_.play.mute);
    gamepads_.reset(io.gamepads());
    loadKeys();

    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &PlayWindow::tick);
    pacer_ = play::FramePacer(host_->fps());
    clock_.start();
    resync();
    timer_->start(0);
}

PlayWindow::~PlayWindow() {
    doc_.unsubscribe(following_);
}

void PlayWindow::createActions(const QList<QAction*>& editorActions) {
    const auto add = [this](QMenu* menu, const char* name, const QString& text,
                            const QKeySequence& key, auto slot) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu* game = menuBar()->addMenu(QStringLiteral("&Game"));
    add(game, "PlayRestart", QStringLiteral("&Restart Level"), QKeySequence(Qt::Key_R),
        [this] { restartLevel(); });
    pause_ = add(game, "PlayPause", QStringLiteral("&Pause"), QKeySequence(Qt::Key_P),
                 [this](bool on) { setPaused(on); });
    pause_->setCheckable(true);
    add(game, "PlayAdvance", QStringLiteral("&Frame Advance"), QKeySequence(Qt::Key_N),
        [this] { frameAdvance(); });
    add(game, "PlayReset", QStringLiteral("R&eset"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R),
        [this] { resetGame(); });
    game->addSeparator();
    QMenu* save = game->addMenu(QStringLiteral("&Save State"));
    QMenu* load = game->addMenu(QStringLiteral("&Load State"));
    for (int n = 1; n <= 4; ++n) {
        const Qt::Key digit = static_cast<Qt::Key>(Qt::Key_0 + n);
        add(save, QByteArray("PlaySave" + QByteArray::number(n)).constData(),
            QStringLiteral("Slot &%1").arg(n), QKeySequence(Qt::ALT | digit),
            [this, n] { saveSlot(n); });
        add(load, QByteArray("PlayLoad" + QByteArray::number(n)).constData(),
            QStringLiteral("Slot &%1").arg(n), QKeySequence(digit), [this, n] { loadSlot(n); });
    }
    game->addSeparator();
    add(game, "PlayClose", QStringLiteral("&Close"), QKeySequence(Qt::CTRL | Qt::Key_W),
        [this] { close(); });

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    auto* scales = new QActionGroup(this);
    for (int s = 1; s <= 4; ++s) {
        QAction* a = add(view, QByteArray("PlayScale" + QByteArray::number(s)).constData(),
                         QStringLiteral("&%1×").arg(s), {}, [this, s] { setScale(s); });
        a->setCheckable(true);
        scales->addAction(a);
        scales_[static_cast<std::size_t>(s - 1)] = a;
    }
    view->addSeparator();
    aspect_ = add(view, "PlayAspect", QStringLiteral("&8:7 Pixels"), {},
                  [this](bool on) { setAspect(on); });
    aspect_->setCheckable(true);
    QAction* panel = add(view, "PlayWatch", QStringLiteral("&Watch Panel"), {},
                         [this](bool on) { watch_->setVisible(on); });
    panel->setCheckable(true);
    panel->setChecked(true);

    QMenu* sound = menuBar()->addMenu(QStringLiteral("&Sound"));
    mute_ = add(sound, "PlayMute", QStringLiteral("&Mute"), QKeySequence(Qt::Key_M),
                [this](bool on) { setMuted(on); });
    mute_->setCheckable(true);
    mute_->setChecked(settings_.play.mute);
    if (!audio_->available()) {
        QAction* none = sound->addAction(QStringLiteral("(%1)").arg(audio_->problem()));
        none->setEnabled(false);
    }

    // The editor's commands keep their keys while the game has the focus.
    addActions(editorActions);
    applyScale();
}

void PlayWindow::createToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Play"));
    bar->setObjectName(QStringLiteral("PlayToolBar"));
    bar->setMovable(false);
    const auto spin = [bar](const char* name, const QString& label, int lo, int hi, int value) {
        bar->addWidget(new QLabel(label + QLatin1Char(' '), bar));
        auto* s = new QSpinBox(bar);
        s->setObjectName(QString::fromLatin1(name));
        s->setRange(lo, hi);
        s->setValue(value);
        s->setFocusPolicy(Qt::ClickFocus);
        bar->addWidget(s);
        return s;
    };
    world_ = spin("PlayWorld", QStringLiteral("World"), 1, 8, 1);
    level_ = spin("PlayLevel", QStringLiteral(" Level"), 1, 4, 1);
    page_ = spin("PlayPage", QStringLiteral(" Page"), 0, 63, 0);
    auto* start = new QPushButton(QStringLiteral("Start"), bar);
    start->setObjectName(QStringLiteral("PlayStart"));
    start->setFocusPolicy(Qt::NoFocus);
    start->setToolTip(QStringLiteral("Start the game at this world, level and page"));
    connect(start, &QPushButton::clicked, this, [this] {
        startAt({world_->value(), level_->value(), page_->value()});
        screen_->setFocus();
    });
    bar->addWidget(start);
    bar->addSeparator();
    bar->addWidget(new QLabel(QStringLiteral("Volume "), bar));
    volume_ = new QSlider(Qt::Horizontal, bar);
    volume_->setObjectName(QStringLiteral("PlayVolume"));
    volume_->setRange(0, 100);
    volume_->setValue(settings_.play.volume);
    volume_->setFixedWidth(90);
    volume_->setFocusPolicy(Qt::NoFocus);
    connect(volume_, &QSlider::valueChanged, this, &PlayWindow::setVolume);
    bar->addWidget(volume_);
}

void PlayWindow::loadKeys() {
    keyButtons_.clear();
    static constexpr std::uint16_t kOrder[8] = {
        play::kButtonUp, play::kButtonDown, play::kButtonLeft,  play::kButtonRight,
        play::kButtonB,  play::kButtonA,    play::kButtonStart, play::kButtonSelect};
    for (std::size_t i = 0; i < 8; ++i) {
        const QString name = QString::fromStdString(settings_.play.keys[i]);
        if (name.isEmpty()) continue;
        keyButtons_[name] |= kOrder[i];
        // A Shift key named as either side also answers where the side is not known.
        if (name.endsWith(QStringLiteral(" Shift")))
            keyButtons_[QStringLiteral("Shift")] |= kOrder[i];
    }
    pressed_.clear();
    releasing_.clear();
}

void PlayWindow::settingsChanged() {
    loadKeys();
}

void PlayWindow::keyPressEvent(QKeyEvent* event) {
    const QString name = playKeyName(event);
    const auto it = keyButtons_.constFind(name);
    if (it == keyButtons_.constEnd()) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat()) {
        pressed_[name] = it.value();
        releasing_.remove(name);
    }
    event->accept();
}

void PlayWindow::keyReleaseEvent(QKeyEvent* event) {
    const QString name = playKeyName(event);
    if (!keyButtons_.contains(name)) {
        QMainWindow::keyReleaseEvent(event);
        return;
    }
    // A key repeat the system did not mark as one comes as a release and a press at
    // the same moment: a release counts once no press has followed it for a few
    // milliseconds, so that no frame runs between the two without the key.
    if (!event->isAutoRepeat()) releasing_.insert(name, clock_.elapsed());
    event->accept();
}

void PlayWindow::changeEvent(QEvent* event) {
    // Keys reach the game only while this window has the focus: whatever was held
    // when it lost it is let go.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        pressed_.clear();
        releasing_.clear();
    }
    QMainWindow::changeEvent(event);
}

void PlayWindow::closeEvent(QCloseEvent* event) {
    timer_->stop();
    QMainWindow::closeEvent(event);
}

std::uint16_t PlayWindow::heldButtons() const {
    std::uint16_t held = 0;
    for (const std::uint16_t b : pressed_)
        held |= b;
    return held;
}

void PlayWindow::setStatus(const QString& text) {
    statusLabel_->setText(text);
}

QString PlayWindow::status() const {
    return statusLabel_->text();
}

} // namespace qv
