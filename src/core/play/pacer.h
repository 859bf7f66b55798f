#pragma once
// When frames are due: at fixed times from a start, frame n at start + n * period,
// so that no rounding of a timer's interval adds up into drift.
#include <cmath>

namespace qv::play {

class FramePacer {
  public:
    explicit FramePacer(double fps) : period_(1e9 / fps) {}

    // The next frame is due at `nowNs`.
    void restart(double nowNs) {
        start_ = nowNs;
        frames_ = 0;
    }
    // How many frames to run at `nowNs`. After a stall of more than kMaxBurst frames
    // (a reload, a busy machine) the game goes on from now rather than racing.
    int due(double nowNs) {
        if (nowNs < nextNs()) return 0;
        const auto n = static_cast<long long>(std::floor((nowNs - start_) / period_)) + 1 - frames_;
        if (n > kMaxBurst) {
            restart(nowNs);
            frames_ = 1;
            return 1;
        }
        frames_ += n;
        return static_cast<int>(n);
    }
    double nextNs() const { return start_ + static_cast<double>(frames_) * period_; }
    double periodNs() const { return period_; }

    static constexpr int kMaxBurst = 4;

  private:
    double period_;
    double start_ = 0;
    long long frames_ = 0;
};

} // namespace qv::play
