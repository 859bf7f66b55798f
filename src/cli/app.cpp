#include "cli/app.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <optional>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/complete.h"
#include "core/catalog.h"
#include "core/fileio.h"
#include "core/version.h"

namespace qv::cli {
namespace {

constexpr const char* kSetFooter = R"txt(
VALUE is what the dialog shows:
  numeric item  a whole number in the item's accepted range (qorv dump shows the
                current value and the default)
  check item    checked or unchecked
  choice item   the entry's caption, with or without its "&"; a trailing
                "[Default]" may be left out when no other entry then reads the
                same; or #INDEX, counting the entries from #0
  any item    the text get prints for it: an item whose bytes hold no value
                that would be stored as those same bytes is printed as the
                bytes with what they mean, "(Out of bounds: 21)", "(Out of
                range -128: 80)" or "(Never stored as: A9 01)", and set stores
                exactly those bytes; so set of what get printed changes nothing
Unlike the dialogs, set never substitutes a default: an unknown control, a value
that is not accepted or an item that is out of bounds in this image is an error,
and then nothing is written. Without -o the image is replaced in place by a
complete new file.)txt";

constexpr const char* kIpsFooter = R"(
BASE and EDITED may be any files up to 16 MiB (16,777,216 bytes), the most an IPS
patch can address; PATCH may be up to 64 MiB (67,108,864 bytes), and a larger one
is refused as too large. A BASE named *.nes (any case) is a game image: it must
be 40,976 or 41,488 bytes, records are never written past its end, and apply
takes --mode. Any other file is plain bytes: only mode 0, and records past its
end extend it with zero bytes up to where they write; a patch that would make it
larger than 16 MiB is refused.)";

constexpr const char* kIpsApplyFooter = R"(
--mode, for a .nes BASE (as in the editor's Advanced Processing):
  0  no correction (default)
  1  the patch was made for 41,488 bytes, BASE has 40,976: records from offset
     528 on move down 512; a record inside the trainer (16 to 527) is refused
  2  the patch was made for 40,976 bytes, BASE has 41,488: records from offset 16
     on move up 512
  3  extend a 40,976-byte BASE to 41,488 with zero bytes at the end
  4  expand a 40,976-byte BASE with a zero trainer: bytes 16 on move up 512 and
     bytes 16 to 527 become zero; records then write at their own offsets
Modes 1, 3 and 4 need a 40,976-byte BASE, mode 2 a 41,488-byte one.
The whole patch is checked before anything is written; OUT is then replaced by a
complete new file, and OUT may be BASE itself but not PATCH.)";

constexpr const char* kIpsCreateFooter = R"(
BASE and EDITED must have the same size. The patch is the smallest the format
allows: records of data or of one repeated value, joined across unchanged bytes
where one record is smaller than two. Identical files are not an error: the patch
then has no records (PATCH and EOF only), a note says so on standard error, and
the exit status is 0.)";

constexpr const char* kIpsShowFooter = R"(
One line per record: its offset, "data" and the length with the first 8 bytes, or
"run", the count and the value. A malformed patch lists the records read before
the fault, then names the fault and its byte position on standard error (exit
status 2).)";

constexpr const char* kChangesFooter = R"(
Parameters are grouped dialog > page > group, each with its label, control name,
value, default and offsets (in this image's layout). Items whose bytes hold
nothing the dialog understands are listed apart, under "Out of bounds".)";

constexpr const char* kDiffFooter = R"(
Either image may have a trainer. After the parameters come the bytes that differ
outside every parameter, as ranges in the 40,976-byte layout.
Exit status: 0 when the images are equal, 1 when they differ, 2 for a file that
cannot be used, 64 for a command line that does not parse.)";

constexpr const char* kPresetFooter = R"(
A preset is a JSON object: "format": "quorvane-preset", "version": 1, "source"
(the image's name and SHA-1, for information) and "parameters", a list of
{"control": NAME, "value": TEXT} with TEXT as qorv set takes it, at most 16 MiB
and nested no deeper than that. import checks every entry first: an unknown
control, a value not accepted, an item out of bounds in this image or an unknown
format or version is an error naming the entry, and then nothing is written.
import prints its report before it writes the image, and so
when standard output cannot be written, nothing is written.
export -o - writes the preset to standard output.)";

constexpr const char* kIpsExplainFooter = R"(
With a base image the patch is applied in memory and the parameters it changes
are listed (before -> after), then the bytes it changes outside every parameter.
Without any base, the parameters whose bytes the records write are listed, in
the 40,976-byte layout. A patch that cannot be applied is an error (exit 2).)";

// A command-line word as C would spell it, so that a line break in it cannot start
// a line of its own in a message.
std::string escaped(std::string_view word) {
    std::string out;
    for (const char c : word) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

constexpr const char* kPlayFooter = R"(
The core is the one named under Tools > Editor Options > Play in the editor, else
the first of nestopia, fceumm, mesen and quicknes found in the usual folders (or
in those named by QUORVANE_LIBRETRO_PATH). Frames are counted from the level's
first frame with --at, else from power-on. A line is printed after frames K, 2K,
... and after the last one. An --at that the game does not reach is an error.)";

void printFailure(const std::string& message) {
    std::size_t start = 0;
    while (start <= message.size()) {
        const std::size_t end = std::min(message.find('\n', start), message.size());
        std::cerr << "qorv: " << message.substr(start, end - start) << "\n";
        start = end + 1;
    }
}

// Standard output through a buffer of our own that keeps the reason of the first
// failed write: output that did not reach its destination (a full disk, a closed
// pipe) is a failure like any other, and a truncated listing must not look like a
// complete one.
class StandardOutput : public std::streambuf {
  public:
    StandardOutput() { setp(buffer_, buffer_ + sizeof buffer_); }
    int error() const { return error_; }

  protected:
    int_type overflow(int_type c) override {
        if (!drain()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return drain() ? 0 : -1; }
    // Text that does not fit what is left of the buffer, a whole report, is written as
    // it stands instead of being copied through the buffer first (the rows "qorv
    // changes" and "qorv diff" of make bench).
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        if (n <= epptr() - pptr()) {
            std::memcpy(pptr(), s, static_cast<std::size_t>(n));
            pbump(static_cast<int>(n));
            return n;
        }
        return drain() && writeAll(s, s + n) ? n : 0;
    }

  private:
    bool drain() {
        writeAll(pbase(), pptr());
        setp(buffer_, buffer_ + sizeof buffer_);
        return error_ == 0;
    }
    bool writeAll(const char* p, const char* end) {
        while (error_ == 0 && p < end) {
#ifdef _WIN32
            const int n = ::_write(1, p, static_cast<unsigned>(end - p));
#else
            const ssize_t n = ::write(STDOUT_FILENO, p, static_cast<std::size_t>(end - p));
#endif
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0)
                error_ = n < 0 ? errno : EIO;
            else
                p += n;
        }
        return error_ == 0;
    }
    char buffer_[1 << 16];
    int error_ = 0;
};

// Reports a failed write of standard output once; true when there was one.
bool standardOutputFailed(StandardOutput& out) {
    std::cout.flush();
    if (out.error() == 0 && std::cout) return false;
    printFailure(std::string("cannot write standard output: ") +
                 std::strerror(out.error() ? out.error() : EIO));
    return true;
}

bool isSubcommand(const CLI::App& app, const std::string& name) {
    return !app.get_subcommands([&](const CLI::App* s) { return s->check_name(name); }).empty();
}

// A file whose name starts with "-" is read as an option: the way to name it, with the
// command the user typed ("qorv info -- -x.nes").
std::string dashHint(const CLI::App& app, int argc, char** argv) {
    std::string command = "qorv";
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        // "-x.nes" is no option of ours; "--output=./x" is one.
        const bool fileLike =
            arg.size() >= 2 && arg[1] != '-' && arg.find_first_of("./") != std::string_view::npos;
        if (arg.size() < 2 || arg.front() != '-' || arg == "--" ||
            !(fileLike || fileExists(argv[i]))) {
            if (i <= 2 && !arg.starts_with('-') &&
                (isSubcommand(app, argv[i]) || (i == 2 && std::string_view(argv[1]) == "ips")))
                command += " " + std::string(arg);
            continue;
        }
        return std::string(arg) + " is read as an option; a file whose name starts with \"-\" " +
               "comes after \"--\" (" + command + " -- " + std::string(arg) +
               ") or starts with \"./\" (./" + std::string(arg) + ")";
    }
    return {};
}

} // namespace

static int runCommand(int argc, char** argv, StandardOutput& stdOut);

int run(int argc, char** argv) {
    StandardOutput out;
    std::streambuf* const previous = std::cout.rdbuf(&out);
    const int status = runCommand(argc, argv, out);
    std::cout.flush();
    std::cout.rdbuf(previous);
    return status;
}

static int runCommand(int argc, char** argv, StandardOutput& stdOut) {
    CLI::App app{"Reads and changes the game parameters of a Super Mario Bros. image (.nes, "
                 "40,976 or 41,488 bytes).",
                 "qorv"};
    // The shell completion asks the tool itself for the names it offers; the option
    // is for scripts, so --help does not list it.
    if (argc >= 2 && std::string_view(argv[1]) == "--complete") {
        const int status = complete(std::vector<std::string>(argv + 2, argv + argc));
        return standardOutputFailed(stdOut) ? static_cast<int>(Exit::BadInput) : status;
    }
    app.set_version_flag("--version", std::string("qorv ") + std::string(kVersion));
    app.require_subcommand(1);
    app.footer("\nExit status:\n"
               "  0   success (diff: the images are equal)\n"
               "  1   diff: the images differ\n"
               "  2   a file or value cannot be used, or standard output cannot be written;\n"
               "      nothing was written\n"
               "  64  the command line does not parse");

    std::string file;
    bool json = false;
    std::optional<std::string> dialog, output;
    std::vector<std::string> controls, assignments;

    CLI::App* info = app.add_subcommand(
        "info", "Size, trainer, CRC32 and SHA-1 of the image, and how many items are out of "
                "bounds.");
    info->add_option("GAME", file, "The .nes image")->required();

    CLI::App* dump = app.add_subcommand(
        "dump", "Every item of every dialog: offsets, bytes, value, default and state.");
    dump->add_option("GAME", file, "The .nes image")->required();
    dump->add_flag("--json", json, "One JSON object instead of a table");
    // The names come from the dialog tables, which only help needs: they are filled
    // in when help is asked for, so other commands never build the tables for them.
    CLI::Option* dialogOption = dump->add_option("--dialog", dialog);

    CLI::App* get = app.add_subcommand("get", "Prints CONTROL=VALUE for each control named.");
    get->add_option("GAME", file, "The .nes image")->required();
    get->add_option("CONTROL", controls, "Control names as in qorv dump (EditMaWalk_R)")
        ->required();

    CLI::App* set = app.add_subcommand("set", "Changes items, all or none.");
    set->add_option("GAME", file, "The .nes image")->required();
    set->add_option("CONTROL=VALUE", assignments, "EditMaWalk_R=32, CmbFireShot=Never, ...")
        ->required();
    set->add_option("-o,--output", output, "Write the result here and leave GAME as it is");
    set->footer(kSetFooter);

    std::string other, preset;
    bool all = false, dryRun = false;
    CLI::App* changes = app.add_subcommand(
        "changes", "Every parameter whose value differs from the game's own (its default).");
    changes->add_option("GAME", file, "The .nes image")->required();
    changes->add_flag("--json", json, "One JSON object instead of text");
    changes->footer(kChangesFooter);

    CLI::App* diff = app.add_subcommand(
        "diff", "The parameters, then the other bytes, that differ between two images.");
    diff->add_option("A", file, "The first .nes image")->required();
    diff->add_option("B", other, "The second .nes image")->required();
    diff->add_flag("--json", json, "One JSON object instead of text");
    diff->footer(kDiffFooter);

    CLI::App* exportCmd =
        app.add_subcommand("export", "Writes a preset: the changed parameters as a JSON text.");
    exportCmd->add_option("GAME", file, "The .nes image")->required();
    exportCmd->add_option("-o,--output", output, "Write the preset here instead of printing it");
    exportCmd->add_flag("--all", all, "Every parameter, changed or not");
    exportCmd->footer(kPresetFooter);

    CLI::App* importCmd =
        app.add_subcommand("import", "Applies a preset to an image, all entries or none.");
    importCmd->add_option("GAME", file, "The .nes image")->required();
    importCmd->add_option("PRESET", preset, "The preset (qorv export)")->required();
    importCmd->add_option("-o,--output", output, "Write the result here and leave GAME as it is");
    importCmd->add_flag("--dry-run", dryRun, "Print what would change and write nothing");
    importCmd->footer(kPresetFooter);

    std::string patch, base, edited, out;
    int mode = 0;
    CLI::App* ips = app.add_subcommand("ips", "Applies, creates and lists IPS patches.");
    ips->require_subcommand(1);
    ips->footer(kIpsFooter);
    CLI::App* ipsApply = ips->add_subcommand("apply", "Writes BASE patched with PATCH to OUT.");
    ipsApply->add_option("PATCH", patch, "The IPS patch")->required();
    ipsApply->add_option("BASE", base, "The file to patch")->required();
    ipsApply->add_option("-o,--output", out, "OUT: the patched file (may be BASE)")->required();
    ipsApply->add_option("--mode", mode, "Address correction or expansion, 0 to 4")
        ->check(CLI::Range(0, 4));
    ipsApply->footer(kIpsApplyFooter);
    CLI::App* ipsCreate =
        ips->add_subcommand("create", "Writes the IPS patch that turns BASE into EDITED.");
    ipsCreate->add_option("BASE", base, "The original file")->required();
    ipsCreate->add_option("EDITED", edited, "The changed file")->required();
    ipsCreate->add_option("-o,--output", out, "The patch to write")->required();
    ipsCreate->footer(kIpsCreateFooter);
    CLI::App* ipsShow = ips->add_subcommand("show", "Lists the records of an IPS patch.");
    ipsShow->add_option("PATCH", patch, "The IPS patch")->required();
    ipsShow->footer(kIpsShowFooter);
    std::optional<std::string> explainBase;
    CLI::App* ipsExplain =
        ips->add_subcommand("explain", "Which parameters a patch changes, in words.");
    ipsExplain->add_option("PATCH", patch, "The IPS patch")->required();
    ipsExplain->add_option("BASE", explainBase,
                           "The game image to apply it to in memory (default: the 40,976-byte "
                           "base file of the settings, when set)");
    ipsExplain->footer(kIpsExplainFooter);

    PlayOptions playOptions;
    CLI::App* playCmd = app.add_subcommand(
        "play", "Runs the game headless on a libretro NES core and prints what its RAM holds.");
    playCmd->add_option("GAME", playOptions.file, "The .nes image")->required();
    playCmd->add_option("--at", playOptions.at,
                        "W-L[:PAGE]: start at world W (1-8), level L (1-4), page PAGE (0 is "
                        "the level's start) through the game's own continue");
    playCmd->add_option("--frames", playOptions.frames, "N: frames to run (after the start)")
        ->required();
    playCmd->add_option("--input", playOptions.input,
                        "FILE: lines \"FRAMES BUTTONS...\", held in turn (see qorv(1))");
    playCmd->add_option("--watch", playOptions.watch,
                        "LIST: comma-separated xspeed, yspeed, x, y, power, lives, coins, "
                        "timer, world (default: all)");
    playCmd->add_option("--every", playOptions.every, "K: print every K frames (default 1)");
    playCmd->add_option("--screenshot", playOptions.screenshot, "FILE.png: the last frame");
    playCmd->add_flag("--json", playOptions.json, "One JSON object per line instead of a table");
    playCmd->footer(kPlayFooter);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
            if (dynamic_cast<const CLI::CallForVersion*>(&e) == nullptr)
                dialogOption->description("Only this dialog, in any case: " + dialogNames());
            const int status = app.exit(e); // --help, --version
            return standardOutputFailed(stdOut) ? static_cast<int>(Exit::BadInput) : status;
        }
        if (argc > 1 && argv[1][0] != '-' && !isSubcommand(app, argv[1]))
            printFailure(std::string("unknown command \"") + argv[1] + "\"");
        else
            printFailure(e.what());
        if (const std::string hint = dashHint(app, argc, argv); !hint.empty()) printFailure(hint);
        std::cerr << "Run qorv --help for more information.\n";
        return static_cast<int>(Exit::Usage);
    }

    // Controls and values are one line each: one with a line break is refused whole,
    // on one line of its own.
    for (const std::vector<std::string>* words : {&assignments, &controls})
        for (const std::string& w : *words)
            if (w.find_first_of("\r\n") != std::string::npos) {
                printFailure("\"" + escaped(w) + "\": a control or value holds a line break");
                return static_cast<int>(Exit::BadInput);
            }
    // "-o -" is standard output where a command prints text, and no file of that name.
    if (output == "-" && *exportCmd) output.reset();
    if (output == "-" || out == "-") {
        printFailure("-o -: the result is not written to standard output; name a file (./- "
                     "for one named \"-\")");
        return static_cast<int>(Exit::Usage);
    }

    try {
        if (*info)
            cli::info(file);
        else if (*dump)
            cli::dump(file, json, dialog);
        else if (*get)
            cli::get(file, controls);
        else if (*set)
            cli::set(file, assignments, output);
        else if (*ipsApply)
            cli::ipsApply(patch, base, out, mode);
        else if (*ipsCreate)
            cli::ipsCreate(base, edited, out);
        else if (*ipsShow)
            cli::ipsShow(patch);
        else if (*changes)
            cli::changes(file, json);
        else if (*diff) {
            const int status = cli::diff(file, other, json);
            return standardOutputFailed(stdOut) ? static_cast<int>(Exit::BadInput) : status;
        } else if (*exportCmd)
            cli::exportPreset(file, output, all);
        else if (*importCmd)
            cli::importPreset(file, preset, output, dryRun);
        else if (*ipsExplain)
            cli::ipsExplain(patch, explainBase);
        else if (*playCmd)
            cli::play(playOptions);
    } catch (const Failure& f) {
        printFailure(f.message);
        standardOutputFailed(stdOut);
        return static_cast<int>(f.status);
    }
    if (standardOutputFailed(stdOut)) return static_cast<int>(Exit::BadInput);
    return static_cast<int>(Exit::Ok);
}

} // namespace qv::cli
