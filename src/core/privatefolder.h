#pragma once
// A private folder (mode 0700) for copies handed to other programs, as Test Play's
// copy of the image: "<parent>/<stem>-PID-XXXXXX". It goes, with the files in it,
// when this object goes and when SIGINT, SIGTERM or SIGHUP ends the process; one
// that a crash or SIGKILL left behind is removed by removeStaleFolders.
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <utility>

#include "core/signalcleanup.h"
#include "core/system.h"

namespace qv {

class PrivateFolder {
  public:
    // Nothing, with `error` set to the system's reason, when it cannot be made.
    static std::unique_ptr<PrivateFolder> make(const std::string& parent, const std::string& stem,
                                               std::string& error);
    ~PrivateFolder() {
        cleanup_.forget();
        std::error_code ec;
        std::filesystem::remove_all(fsPath(path_), ec);
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::string& path() const { return path_; }

  private:
    explicit PrivateFolder(std::string path)
        : path_(std::move(path)), cleanup_(path_, RemoveOnSignal::Kind::Folder) {}
    std::string path_;
    RemoveOnSignal cleanup_;
};

// Removes the folders of `stem` in `parent` that are the user's and whose process
// has ended; others' folders, and those of processes still running, stay.
void removeStaleFolders(const std::string& parent, const std::string& stem);

} // namespace qv
