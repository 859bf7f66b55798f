// The Play window's game commands, the hot reload and the frame loop.
#include <QAction>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>

#include "core/changes.h"
#include "gui/play/playscreen.h"
#include "gui/play/playwindow.h"
#include "gui/play/watchpanel.h"

namespace qv {

namespace {

QString changedText(int parameters) {
    if (parameters == 0)
        return QStringLiteral("Reloaded with changed bytes outside the parameters");
    return QStringLiteral("Reloaded with %1 changed parameter%2")
        .arg(parameters)
        .arg(parameters == 1 ? "" : "s");
}

} // namespace

void PlayWindow::documentChanged(const DocumentEvent& event) {
    if (event.change == DocumentChange::Closed) {
        close();
        return;
    }
    // Saving changes no byte, nor does an OK that changed nothing.
    if (event.change == DocumentChange::Saved || !doc_.isOpen()) return;
    if (event.change != DocumentChange::Loaded && event.changed.empty()) return;
    const std::span<const std::uint8_t> now = doc_.fileBytes();
    if (std::equal(now.begin(), now.end(), loaded_.begin(), loaded_.end())) return;
    const int parameters = static_cast<int>(diffImages(loaded_, now).changed.size());
    std::string error;
    if (!host_->reload(now, error)) {
        setStatus(QStringLiteral("Not reloaded: %1").arg(QString::fromStdString(error)));
        return;
    }
    loaded_.assign(now.begin(), now.end());
    setStatus(changedText(parameters));
    // The first frame with the new bytes is not kept waiting for the next due time.
    resync();
    if (!paused_) timer_->start(0);
}

void PlayWindow::startAt(const play::Place& place) {
    world_->setValue(place.world);
    level_->setValue(place.level);
    page_->setValue(place.page);
    place_ = place;
    std::string error;
    const play::StartSequence start = play::startGame(*host_, loaded_, place, error);
    setStatus(error.empty() ? QString::fromStdString(start.message())
                            : QString::fromStdString(error));
    afterFrames();
    resync();
}

void PlayWindow::restartLevel() {
    // A power-on and the start again: what the game copies into RAM when a level
    // starts (lives, the timer, the palette) is read anew from the image.
    if (!place_) {
        std::string error;
        host_->load(loaded_, error);
        setStatus(error.empty() ? QStringLiteral("Powered on") : QString::fromStdString(error));
        resync();
        return;
    }
    std::string error;
    const play::StartSequence start = play::startGame(*host_, loaded_, *place_, error);
    if (!error.empty())
        setStatus(QString::fromStdString(error));
    else if (start.reached())
        setStatus(QStringLiteral("Restarted %1").arg(QString::fromStdString(placeText(*place_))));
    else
        setStatus(QString::fromStdString(start.message()));
    afterFrames();
    resync();
}

void PlayWindow::setPaused(bool paused) {
    paused_ = paused;
    if (pause_ && pause_->isChecked() != paused) pause_->setChecked(paused);
    setStatus(paused ? QStringLiteral("Paused") : QStringLiteral("Running"));
    resync();
    if (!paused) timer_->start(0);
}

void PlayWindow::frameAdvance() {
    if (!paused_) setPaused(true);
    runFrame();
    afterFrames();
    setStatus(QStringLiteral("Paused at frame %1").arg(host_->frameCount()));
}

void PlayWindow::resetGame() {
    host_->reset();
    setStatus(QStringLiteral("Reset"));
}

void PlayWindow::saveSlot(int n) {
    if (n < 1 || n > 4) return;
    slots_[static_cast<std::size_t>(n - 1)] = host_->saveState();
    setStatus(QStringLiteral("Saved state %1").arg(n));
}

void PlayWindow::loadSlot(int n) {
    if (n < 1 || n > 4) return;
    const auto& state = slots_[static_cast<std::size_t>(n - 1)];
    if (state.empty()) {
        setStatus(QStringLiteral("State %1 is empty").arg(n));
        return;
    }
    setStatus(host_->loadState(state) ? QStringLiteral("Loaded state %1").arg(n)
                                      : QStringLiteral("State %1 could not be loaded").arg(n));
    afterFrames();
}

void PlayWindow::setScale(int scale) {
    settings_.play.scale = std::clamp(scale, 1, 4);
    applyScale();
    if (saveSettings_) saveSettings_();
}

void PlayWindow::setAspect(bool on) {
    settings_.play.aspect = on;
    applyScale();
    if (saveSettings_) saveSettings_();
}

void PlayWindow::applyScale() {
    const int s = std::clamp(settings_.play.scale, 1, 4);
    if (scales_[0]) scales_[static_cast<std::size_t>(s - 1)]->setChecked(true);
    if (aspect_) aspect_->setChecked(settings_.play.aspect);
    screen_->setScale(s, settings_.play.aspect);
    adjustSize();
}

void PlayWindow::setVolume(int percent) {
    settings_.play.volume = std::clamp(percent, 0, 100);
    if (volume_->value() != settings_.play.volume) volume_->setValue(settings_.play.volume);
    audio_->setVolume(settings_.play.volume, settings_.play.mute);
    if (saveSettings_) saveSettings_();
}

void PlayWindow::setMuted(bool muted) {
    settings_.play.mute = muted;
    if (mute_ && mute_->isChecked() != muted) mute_->setChecked(muted);
    audio_->setVolume(settings_.play.volume, muted);
    if (saveSettings_) saveSettings_();
}

void PlayWindow::runFrame() {
    constexpr qint64 kRepeatGraceMs = 5;
    for (auto it = releasing_.begin(); it != releasing_.end();) {
        if (clock_.elapsed() - it.value() < kRepeatGraceMs) {
            ++it;
            continue;
        }
        pressed_.remove(it.key());
        it = releasing_.erase(it);
    }
    const bool active = isActiveWindow();
    const std::uint16_t pad = gamepads_->buttons();
    host_->setButtons(active ? static_cast<std::uint16_t>(heldButtons() | pad) : 0);
    host_->run();
    audio_->push(host_->audio());
    host_->audio().clear();
    watch_->frameRun(host_->ram(), host_->fps());
}

void PlayWindow::afterFrames() {
    screen_->setFrame(&host_->frame());
    watch_->refresh();
}

void PlayWindow::runFrames(int n) {
    for (int i = 0; i < n; ++i)
        runFrame();
    afterFrames();
}

void PlayWindow::resync() {
    pacer_.restart(static_cast<double>(clock_.nsecsElapsed()));
}

void PlayWindow::tick() {
    if (paused_) return;
    const int due = pacer_.due(static_cast<double>(clock_.nsecsElapsed()));
    for (int i = 0; i < due; ++i)
        runFrame();
    if (due > 0) afterFrames();
    const double wait = (pacer_.nextNs() - static_cast<double>(clock_.nsecsElapsed())) / 1e6;
    timer_->start(std::max(0, static_cast<int>(wait)));
}

} // namespace qv
