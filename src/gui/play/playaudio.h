#pragma once
// The game's sound through Qt Multimedia, 16-bit stereo at the core's rate. Where
// there is no sound device the game plays on silently.
#include <QObject>
#include <QString>
#include <cstdint>
#include <vector>

class QAudioSink;
class QIODevice;

namespace qv {

class PlayAudio : public QObject {
    Q_OBJECT
  public:
    PlayAudio(double sampleRate, QObject* parent = nullptr);
    ~PlayAudio() override;
    bool available() const { return device_ != nullptr; }
    QString problem() const { return problem_; }
    // A frame's samples (left, right, ...). What the device has no room for is
    // dropped, so that the sound never lags the picture.
    void push(const std::vector<std::int16_t>& samples);
    void setVolume(int percent, bool muted);

  private:
    QAudioSink* sink_ = nullptr;
    QIODevice* device_ = nullptr;
    QString problem_;
};

} // namespace qv
