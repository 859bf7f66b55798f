#pragma once
// Helpers for the fuzz targets: a property that fails stops the run with a crash
// report, input bytes are taken in order, and files go to a private folder.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include <unistd.h>

namespace qvfuzz {

inline void check(bool ok) {
    if (!ok) __builtin_trap();
}

// Reads the fuzzer's bytes front to back; past the end every read gives zero.
class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data, size) {}
    bool empty() const { return pos_ >= data_.size(); }
    std::uint8_t byte() { return empty() ? 0 : data_[pos_++]; }
    std::uint16_t word() { return static_cast<std::uint16_t>(byte() << 8 | byte()); }
    int number() { return static_cast<int>(static_cast<std::uint32_t>(word()) << 16 | word()); }
    // Up to `max` bytes as text, the length taken from the input first.
    std::string text(std::size_t max) {
        const std::size_t n = std::min<std::size_t>(byte() % (max + 1), data_.size() - pos_);
        std::string out(reinterpret_cast<const char*>(data_.data() + pos_), n);
        pos_ += n;
        return out;
    }
    std::span<const std::uint8_t> rest() {
        const auto r = data_.subspan(std::min(pos_, data_.size()));
        pos_ = data_.size();
        return r;
    }

  private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

// A folder of this process's own, in memory where the system offers one.
// Removed when the process ends normally.
inline const std::string& scratchDir() {
    struct Dir {
        std::string path;
        Dir() {
            path = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
            path += "/qv-fuzz-XXXXXX";
            if (!mkdtemp(path.data())) std::abort();
        }
        ~Dir() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    };
    static const Dir dir;
    return dir.path;
}

} // namespace qvfuzz
