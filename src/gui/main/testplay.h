#pragma once
// Test Play: the current image, unsaved edits included, written to a temporary file
// and handed to an emulator.
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <span>

namespace qv {

class PrivateFolder;

// The emulators tried, in this order, when no command is set.
inline constexpr const char* kKnownEmulators[] = {"fceux", "nestopia", "mednafen"};

struct EmulatorCommand {
    QString program; // an absolute path
    QStringList arguments;
};

// The program and arguments for `file`. `configured` is a command line: words split
// at blanks, with double quotes keeping blanks inside a word (no shell ever runs it);
// "%f" inside a word stands for the file, and without any "%f" the file is the last
// argument. An empty `configured` means the first known emulator found on PATH.
// Nothing when the program is not found.
std::optional<EmulatorCommand> emulatorCommand(const QString& configured, const QString& file);

// The temporary files Test Play writes, in a private folder; they go when this object
// goes, that is when the editor exits, and when a signal ends it. Those a crash left
// behind go at the next start (removeStaleTestPlayFiles).
class TestPlayFiles {
  public:
    TestPlayFiles();
    ~TestPlayFiles();

    // Writes `bytes` as `name` (a bare file name) in the temporary folder and returns
    // its path; empty, with `error` set, when it cannot be written.
    QString write(std::span<const std::uint8_t> bytes, const QString& name, QString& error);

  private:
    std::unique_ptr<PrivateFolder> dir_;
};

// Removes the Test Play folders of this user's editors that ended without removing
// theirs (a crash, SIGKILL).
void removeStaleTestPlayFiles();

} // namespace qv
