#pragma once
// Files and folders of ours that must not outlive the process when a signal ends it
// (SIGINT, SIGTERM, SIGHUP): a save's temporary file, Test Play's private folder.
// They are removed first, and the process then ends as it would have. A signal
// the program ignores or handles itself is left to it.
#include <string>

namespace qv {

class RemoveOnSignal {
  public:
    enum class Kind { File, Folder }; // a folder is removed with the files in it
    RemoveOnSignal() = default;
    RemoveOnSignal(const std::string& path, Kind kind) { watch(path, kind); }
    ~RemoveOnSignal() { forget(); }
    RemoveOnSignal(const RemoveOnSignal&) = delete;
    RemoveOnSignal& operator=(const RemoveOnSignal&) = delete;

    // From now on a signal removes `path`; false when it cannot be watched (too
    // long, or too many at once), in which case a signal leaves it.
    bool watch(const std::string& path, Kind kind);
    // A signal no longer removes it (nothing is removed now).
    void forget();

  private:
    int slot_ = -1;
};

} // namespace qv
