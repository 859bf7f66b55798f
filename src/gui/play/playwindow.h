#pragma once
// The Play window: the game on the open document, running inside the editor. It
// starts at any world, level and page, and every change the document announces
// is loaded at once: the game goes on from the frame it was at, with the new bytes.
#include <QElapsedTimer>
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/document.h"
#include "core/play/host.h"
#include "core/play/pacer.h"
#include "core/play/start.h"
#include "core/settings.h"
#include "gui/play/playio.h"

class QAction;
class QCheckBox;
class QLabel;
class QSlider;
class QSpinBox;
class QTimer;

namespace qv {

class PlayScreen;
class WatchPanel;

class PlayWindow : public QMainWindow {
    Q_OBJECT
  public:
    // The window on `doc`, or null with `error` set (no core, or the core would not
    // play the image): then nothing has changed. `saveSettings` is called after the
    // window changed `settings` (scale, sound); `editorActions` keep their shortcuts
    // while this window has the focus. Sound and pads come from the module in
    // `ioFolders`; without it the game plays silently, and the status line says why.
    static PlayWindow* open(RomDocument& doc, Settings& settings,
                            std::function<void()> saveSettings,
                            const QList<QAction*>& editorActions, QWidget* parent, QString& error,
                            const QStringList& ioFolders = playIoFolders());
    ~PlayWindow() override;

    // The document's announcements, which the window follows.
    void documentChanged(const DocumentEvent& event);
    // The keys and the core may have changed in Editor Options.
    void settingsChanged();

    // The commands of the window's menus.
    void startAt(const play::Place& place);
    void restartLevel();
    void setPaused(bool paused);
    void frameAdvance();
    void resetGame();
    void saveSlot(int n); // 1 to 4
    void loadSlot(int n);
    void setScale(int scale);
    void setAspect(bool on);
    void setVolume(int percent);
    void setMuted(bool muted);

    // Runs n frames now, as the frame timer would (for tests and the benchmark).
    void runFrames(int n);
    QString status() const;
    bool paused() const { return paused_; }
    play::PlayHost& host() { return *host_; }
    PlayScreen* screen() const { return screen_; }
    WatchPanel* watchPanel() const { return watch_; }
    std::uint16_t heldButtons() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    PlayWindow(RomDocument& doc, Settings& settings, std::function<void()> saveSettings,
               std::unique_ptr<play::PlayHost> host, const PlayIo& io, QWidget* parent);
    void createActions(const QList<QAction*>& editorActions);
    void createToolBar();
    void tick();
    void runFrame();
    void afterFrames();
    void resync();
    void setStatus(const QString& text);
    void loadKeys();
    void applyScale();

    RomDocument& doc_;
    int following_ = 0; // the subscription to the document
    Settings& settings_;
    std::function<void()> saveSettings_;
    std::unique_ptr<play::PlayHost> host_;
    std::vector<std::uint8_t> loaded_; // the image the game runs on
    std::optional<play::Place> place_; // the place last started; none: power-on
    std::array<std::vector<std::uint8_t>, 4> slots_;

    PlayScreen* screen_ = nullptr;
    WatchPanel* watch_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QSpinBox* world_ = nullptr;
    QSpinBox* level_ = nullptr;
    QSpinBox* page_ = nullptr;
    QSlider* volume_ = nullptr;
    QAction* pause_ = nullptr;
    QAction* mute_ = nullptr;
    QAction* aspect_ = nullptr;
    std::array<QAction*, 4> scales_{};
    std::unique_ptr<PlayAudio> audio_; // silent, and no pads, without the module
    std::unique_ptr<Gamepads> gamepads_;

    QTimer* timer_ = nullptr;
    QElapsedTimer clock_;
    play::FramePacer pacer_{60.0};
    bool paused_ = false;
    QHash<QString, std::uint16_t> keyButtons_;
    QHash<QString, std::uint16_t> pressed_; // key name -> its button
    QHash<QString, qint64> releasing_;      // released keys, with when (ms of clock_)
};

} // namespace qv
