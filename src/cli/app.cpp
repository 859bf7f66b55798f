#include "cli/app.h"

#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/catalog.h"
#include "cli/commands.h"

#ifndef QORV_VERSION
#define QORV_VERSION "0.0.0"
#endif

namespace qv::cli {
namespace {

constexpr const char* kSetFooter = R"(
VALUE is what the dialog shows:
  numeric item  a whole number in the item's accepted range (qorv dump shows the
                current value and the default)
  check item    checked or unchecked
  choice item   the entry's caption, with or without its "&"; a trailing
                "[Default]" may be left out when no other entry then reads the
                same; or #INDEX, counting the entries from #0
Unlike the dialogs, set never substitutes a default: an unknown control, a value
that is not accepted or an item that is out of bounds in this image is an error,
and then nothing is written. Without -o the image is replaced in place by a
complete new file.)";

void printFailure(const std::string& message) {
    std::size_t start = 0;
    while (start <= message.size()) {
        const std::size_t end = std::min(message.find('\n', start), message.size());
        std::cerr << "qorv: " << message.substr(start, end - start) << "\n";
        start = end + 1;
    }
}

bool isSubcommand(const CLI::App& app, const std::string& name) {
    return !app.get_subcommands([&](const CLI::App* s) { return s->check_name(name); }).empty();
}

} // namespace

int run(int argc, char** argv) {
    CLI::App app{"Reads and changes the game parameters of a Super Mario Bros. image (.nes, "
                 "40,976 or 41,488 bytes).",
                 "qorv"};
    app.set_version_flag("--version", std::string("qorv ") + QORV_VERSION);
    app.require_subcommand(1);
    app.footer("\nExit status: 0 on success, 1 for a command line that does not parse, 2 for a "
               "file or value that cannot be used (nothing is written then).");

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
    dump->add_option("--dialog", dialog, "Only this dialog, in any case: " + dialogNames());

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

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(e);
        if (argc > 1 && argv[1][0] != '-' && !isSubcommand(app, argv[1]))
            printFailure(std::string("unknown command \"") + argv[1] + "\"");
        else
            printFailure(e.what());
        std::cerr << "Run qorv --help for more information.\n";
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
    } catch (const Failure& f) {
        printFailure(f.message);
        return static_cast<int>(f.status);
    }
    return static_cast<int>(Exit::Ok);
}

} // namespace qv::cli
