#pragma once
// The subcommands of qorv, each a function of its parsed arguments. They print their
// results to standard output and report failures by throwing Failure; nothing is
// written to a file unless the whole command can succeed.
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/document.h"
#include "core/filelock.h"

namespace qv::cli {

// Exit statuses: 1 is diff's "the images differ"; 2 a file or value the command
// cannot use (nothing was written); 64 a command line that does not parse (EX_USAGE).
enum class Exit { Ok = 0, Differ = 1, BadInput = 2, Usage = 64 };

struct Failure {
    Exit status = Exit::BadInput;
    std::string message; // one line per problem, without the "qorv: " prefix
};

// The editor's messages break lines with "\r\n"; a terminal message is one line.
std::string oneLine(std::string_view message);

// Whether two paths name one file (links followed); false when either is missing.
bool sameFile(const std::string& a, const std::string& b);
// Refuses an -o that would replace one of the command's inputs.
void refuseOutputOver(const std::optional<std::string>& output,
                      std::initializer_list<const std::string*> inputs);

// Locks the file a command is about to read and replace, until the lock goes;
// waits for another of our writers first, and fails when it waited too long.
FileLock lockTarget(const std::string& path);

// Loads through the editor's own checks; on failure, the file's name and what stands
// there, or the editor's message on one line.
std::unique_ptr<RomDocument> loadImage(const std::string& path);
// A game image read only to be looked at: its file's bytes and layout, no document.
struct ImageFile {
    std::vector<std::uint8_t> bytes;
    int shift = 0;
};
ImageFile readImage(const std::string& path);

void info(const std::string& file);
void dump(const std::string& file, bool json, const std::optional<std::string>& dialog);
void get(const std::string& file, const std::vector<std::string>& controls);
void set(const std::string& file, const std::vector<std::string>& assignments,
         const std::optional<std::string>& output);

// What an image changes against the game, between two images, as a preset, or
// what a patch changes (changes.cpp). diff returns its exit status: 0 equal, 1 not.
void changes(const std::string& file, bool json);
int diff(const std::string& a, const std::string& b, bool json);
void exportPreset(const std::string& file, const std::optional<std::string>& output, bool all);
void importPreset(const std::string& file, const std::string& preset,
                  const std::optional<std::string>& output, bool dryRun);
void ipsExplain(const std::string& patch, const std::optional<std::string>& base);

// IPS patches on any file up to 16 MiB; a ".nes" file is held to the game-image
// sizes and may use the layout modes (ips.cpp).
void ipsApply(const std::string& patch, const std::string& base, const std::string& output,
              int mode);
void ipsCreate(const std::string& base, const std::string& edited, const std::string& output);
void ipsShow(const std::string& patch);
// A patch file's bytes, whatever its name; refused with a message naming it.
std::vector<std::uint8_t> readPatch(const std::string& path);

// The game run headless for a number of frames (play.cpp).
struct PlayOptions {
    std::string file;
    std::optional<std::string> at; // W-L[:PAGE]
    long long frames = 0;
    std::optional<std::string> input;
    std::optional<std::string> watch; // comma-separated names
    long long every = 1;
    std::optional<std::string> screenshot;
    bool json = false;
};
void play(const PlayOptions& options);

} // namespace qv::cli
