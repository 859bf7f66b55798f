#include "gui/play/playaudio.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <cmath>

namespace qv {

PlayAudio::PlayAudio(double sampleRate, QObject* parent) : QObject(parent) {
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull()) {
        problem_ = QStringLiteral("no sound device");
        return;
    }
    QAudioFormat format;
    format.setSampleRate(static_cast<int>(std::lround(sampleRate)));
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!output.isFormatSupported(format)) {
        problem_ =
            QStringLiteral("the sound device does not take %1 Hz stereo").arg(format.sampleRate());
        return;
    }
    sink_ = new QAudioSink(output, format, this);
    // A tenth of a second: enough against a late frame, short enough to stay in step.
    sink_->setBufferSize(format.bytesForDuration(100000));
    device_ = sink_->start();
    if (!device_) problem_ = QStringLiteral("the sound device could not be opened");
}

PlayAudio::~PlayAudio() {
    if (sink_) sink_->stop();
}

void PlayAudio::push(const std::vector<std::int16_t>& samples) {
    if (!device_ || samples.empty()) return;
    const qint64 bytes = static_cast<qint64>(samples.size() * sizeof(std::int16_t));
    const qint64 room = sink_->bytesFree() / 4 * 4;
    device_->write(reinterpret_cast<const char*>(samples.data()), std::min(bytes, room));
}

void PlayAudio::setVolume(int percent, bool muted) {
    if (sink_) sink_->setVolume(muted ? 0.0 : percent / 100.0);
}

} // namespace qv
