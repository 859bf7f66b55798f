// The game's sound through Qt Multimedia.
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <cmath>
#include <memory>

#include "playio/makers.h"

namespace qv {

namespace {

class SinkAudio : public PlayAudio {
  public:
    explicit SinkAudio(double sampleRate);
    ~SinkAudio() override;
    bool available() const override { return device_ != nullptr; }
    QString problem() const override { return problem_; }
    void push(const std::vector<std::int16_t>& samples) override;
    void setVolume(int percent, bool muted) override;

  private:
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* device_ = nullptr;
    QString problem_;
};

SinkAudio::SinkAudio(double sampleRate) {
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
    sink_ = std::make_unique<QAudioSink>(output, format);
    // A tenth of a second: enough against a late frame, short enough to stay in step.
    sink_->setBufferSize(format.bytesForDuration(100000));
    device_ = sink_->start();
    if (!device_) problem_ = QStringLiteral("the sound device could not be opened");
}

SinkAudio::~SinkAudio() {
    if (sink_) sink_->stop();
}

void SinkAudio::push(const std::vector<std::int16_t>& samples) {
    if (!device_ || samples.empty()) return;
    const qint64 bytes = static_cast<qint64>(samples.size() * sizeof(std::int16_t));
    const qint64 room = sink_->bytesFree() / 4 * 4;
    device_->write(reinterpret_cast<const char*>(samples.data()), std::min(bytes, room));
}

void SinkAudio::setVolume(int percent, bool muted) {
    if (sink_) sink_->setVolume(muted ? 0.0 : percent / 100.0);
}

} // namespace

PlayAudio* newPlayAudio(double sampleRate) {
    return new SinkAudio(sampleRate);
}

} // namespace qv
