// qorv ips apply / create / show: thin adapters from files to the IPS core.
#include <filesystem>
#include <iostream>
#ifndef _WIN32
#include <csignal>
#include <unistd.h>
#endif

#include "cli/commands.h"
#include "core/fileio.h"
#include "core/ips/ips.h"
#include "core/ips/ipsfile.h"
#include "core/pathinfo.h"
#include "core/rom.h"
#include "core/system.h"

namespace qv::cli {

namespace {

namespace ips = qv::ips;

// Problems with a file itself name the file, since these commands take several;
// problems inside the patch are reported as the editor words them.
[[noreturn]] void failFile(const std::string& path, ips::Result r) {
    throw Failure{Exit::BadInput, path + ": " + oneLine(ips::message(ips::Status{r}))};
}
[[noreturn]] void fail(const ips::Status& s) {
    throw Failure{Exit::BadInput, oneLine(ips::message(s))};
}

bool isGameImageName(const std::string& path) {
    return upperExtension(path) == ".NES";
}

// Patches address at most 16 MiB, so no larger file can be described or fully patched.
void checkData(const std::string& path) {
    if (!fileExists(path)) failFile(path, ips::Result::FileMissing);
    if (const std::string what = notAFile(path); !what.empty())
        throw Failure{Exit::BadInput, path + ": " + what};
    const auto size = readableFileSize(path);
    if (!size) failFile(path, ips::Result::BadFileSize);
    if (*size > ips::kOffsetLimit) failFile(path, ips::Result::TooLarge);
}

std::vector<std::uint8_t> readData(const std::string& path) {
    checkData(path);
    auto bytes = readWholeFile(path, ips::kOffsetLimit);
    if (!bytes) failFile(path, ips::Result::BadFileSize);
    return std::move(*bytes);
}

// Creating compares the files where they lie mapped, rather than in copies (bench row
// "qorv ips create, 16 MiB").
MappedFile mapData(const std::string& path) {
    checkData(path);
    auto mapped = MappedFile::open(path, ips::kOffsetLimit);
    if (!mapped) failFile(path, ips::Result::BadFileSize);
    return std::move(*mapped);
}

#ifndef _WIN32
// A mapped file that another program cuts short raises SIGBUS: the command then ends
// as for any file it cannot read, before it has written anything. (Windows refuses
// to cut short a file that is mapped.)
extern "C" void inputCutShort(int) {
    static constexpr char kMessage[] = "qorv: an input file was cut short while it was read\n";
    (void)!::write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    ::_exit(static_cast<int>(Exit::BadInput));
}
#endif

void write(const std::string& path, std::span<const std::uint8_t> bytes) {
    const WriteResult r = writeFileAtomic(path, bytes);
    if (!r.ok) throw Failure{Exit::BadInput, "cannot write " + path + ": " + oneLine(r.error)};
}

// The modes the apply dialog offers for each layout; other sizes are refused later.
void checkModeFitsImage(ips::Mode mode, std::size_t size) {
    if (ips::modeFitsImage(mode, size)) return;
    if (size == kPlainSize)
        throw Failure{Exit::BadInput, "--mode " + std::to_string(static_cast<int>(mode)) +
                                          " does not fit a 40,976-byte image (use 0, 1, 3 or 4)"};
    if (size == kTrainerSize)
        throw Failure{Exit::BadInput, "--mode " + std::to_string(static_cast<int>(mode)) +
                                          " does not fit a 41,488-byte image (use 0 or 2)"};
}

} // namespace

std::vector<std::uint8_t> readPatch(const std::string& path) {
    if (const std::string what = notAFile(path); !what.empty())
        throw Failure{Exit::BadInput, path + ": " + what};
    if (const auto size = readableFileSize(path); size && *size > ips::kMaxPatchFileSize)
        throw Failure{Exit::BadInput, path + ": too large (limit 64 MiB)"};
    // The contents decide what is a patch; the name may be anything.
    ips::PatchFile file = ips::readPatchFile(path, false);
    if (!file.status.ok()) failFile(path, file.status.result);
    return std::move(file.bytes);
}

void ipsApply(const std::string& patchPath, const std::string& basePath, const std::string& output,
              int modeNumber) {
    const auto mode = ips::modeFromNumber(modeNumber);
    if (!mode) throw Failure{Exit::Usage, "--mode must be 0 to 4"};
    const bool game = isGameImageName(basePath);
    // Decided by the names alone, before any file is read.
    if (!game && *mode != ips::Mode::None)
        throw Failure{Exit::Usage, "--mode " + std::to_string(modeNumber) +
                                       " needs a .nes game image; other files take mode 0 only"};

    // OUT may be BASE (patching in place) but never the patch it is made from.
    if (sameFile(output, patchPath))
        throw Failure{Exit::Usage, "-o would replace the patch " + patchPath};

    const FileLock lock = lockTarget(output); // OUT may be BASE
    const std::vector<std::uint8_t> patch = readPatch(patchPath);
    std::vector<std::uint8_t> target = readData(basePath);
    if (game) checkModeFitsImage(*mode, target.size());
    // The core checks every record first and leaves `target` alone on any refusal.
    const ips::Status s = ips::applyPatch(patch, target, {*mode, game});
    if (!s.ok()) fail(s);
    write(output, target);
}

void ipsCreate(const std::string& basePath, const std::string& editedPath,
               const std::string& output) {
    for (const std::string* input : {&basePath, &editedPath})
        if (sameFile(output, *input))
            throw Failure{Exit::Usage, "-o would replace the input " + *input};

#ifndef _WIN32
    std::signal(SIGBUS, inputCutShort);
#endif
    const MappedFile base = mapData(basePath);
    const MappedFile edited = mapData(editedPath);
    const std::size_t size = base.bytes().size();
    if (isGameImageName(basePath) && size != kPlainSize && size != kTrainerSize)
        fail(ips::Status{ips::Result::BaseInvalid});
    const ips::Created c = ips::create(base.bytes(), edited.bytes());
    if (!c.status.ok()) fail(c.status);
    write(output, c.patch);
    if (c.patch.size() == ips::kMinPatchSize)
        std::cerr << "qorv: note: the files are identical; the patch has no records\n";
}

void ipsShow(const std::string& patchPath) {
    const std::vector<std::uint8_t> patch = readPatch(patchPath);
    // Each record is printed as it is read; those before a fault were read fine.
    const std::string fault =
        ips::describe(patch, [](std::string_view line) { std::cout << line << '\n'; });
    if (!fault.empty()) {
        std::cout.flush();
        throw Failure{Exit::BadInput, fault};
    }
}

} // namespace qv::cli
