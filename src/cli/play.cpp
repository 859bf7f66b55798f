// qorv play: the game run headless on the editor's libretro host, for scripts.
#include <iomanip>
#include <iostream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "core/fileio.h"
#include "core/ini.h"
#include "core/inipath.h"
#include "core/play/corefind.h"
#include "core/play/host.h"
#include "core/play/inputscript.h"
#include "core/play/png.h"
#include "core/play/start.h"
#include "core/play/watch.h"
#include "core/settings.h"
#include "core/system.h"

namespace qv::cli {

namespace {

using namespace qv::play;

std::vector<Watch> parseWatches(const std::optional<std::string>& list) {
    std::vector<Watch> out;
    if (!list) {
        for (const WatchInfo& w : kWatches)
            out.push_back(w.watch);
        return out;
    }
    std::stringstream names(*list);
    std::string name;
    while (std::getline(names, name, ',')) {
        const auto w = watchByName(name);
        if (!w) {
            std::string known;
            for (const WatchInfo& i : kWatches)
                known += (known.empty() ? "" : ", ") + std::string(i.name);
            throw Failure{Exit::BadInput, "unknown watch \"" + name + "\" (" + known + ")"};
        }
        out.push_back(*w);
    }
    if (out.empty()) throw Failure{Exit::BadInput, "--watch names no watch"};
    return out;
}

InputScript readInput(const std::string& path) {
    if (!fileExists(path)) throw Failure{Exit::BadInput, path + ": file not found"};
    const auto bytes = readWholeFile(path, 16u << 20);
    if (!bytes) throw Failure{Exit::BadInput, path + ": cannot be read"};
    std::string error;
    auto script = parseInputScript(std::string(bytes->begin(), bytes->end()), error);
    if (!script) throw Failure{Exit::BadInput, path + ": " + error};
    return *script;
}

// The core named in the settings file, as the editor uses it.
std::string configuredCore() {
    IniFile ini(locateIniFile(executableFolder()));
    if (!ini.load()) return {};
    return readSettings(ini).play.core;
}

class Printer {
  public:
    Printer(std::vector<Watch> watches, bool json) : watches_(std::move(watches)), json_(json) {}

    void print(long long frame, std::span<const std::uint8_t> ram) {
        if (json_) {
            nlohmann::ordered_json line;
            line["frame"] = frame;
            for (Watch w : watches_) {
                if (w == Watch::World)
                    line[watchInfo(w).name] = watchText(w, ram);
                else
                    line[watchInfo(w).name] = watchValue(w, ram);
            }
            std::cout << line.dump() << "\n";
            return;
        }
        if (!headed_) {
            std::cout << std::setw(6) << "frame";
            for (Watch w : watches_)
                std::cout << "  " << std::setw(width(w)) << watchInfo(w).name;
            std::cout << "\n";
            headed_ = true;
        }
        std::cout << std::setw(6) << frame;
        for (Watch w : watches_)
            std::cout << "  " << std::setw(width(w)) << watchText(w, ram);
        std::cout << "\n";
    }

  private:
    static int width(Watch w) {
        return std::max(6, static_cast<int>(std::string_view(watchInfo(w).name).size()));
    }
    std::vector<Watch> watches_;
    bool json_;
    bool headed_ = false;
};

} // namespace

void play(const PlayOptions& o) {
    const ImageFile image = readImage(o.file);
    std::optional<Place> place;
    if (o.at) {
        place = parsePlace(*o.at);
        if (!place)
            throw Failure{Exit::BadInput, "--at " + *o.at +
                                              ": not a place W-L[:PAGE] (world 1-8, level 1-4, "
                                              "page 0-63)"};
    }
    if (o.frames < 0) throw Failure{Exit::BadInput, "--frames must not be negative"};
    if (o.every < 1) throw Failure{Exit::BadInput, "--every must be 1 or more"};
    const std::vector<Watch> watches = parseWatches(o.watch);
    const InputScript input = o.input ? readInput(*o.input) : InputScript{};
    if (o.screenshot) {
        const WriteResult writable = checkReplaceable(*o.screenshot);
        if (!writable.ok) throw Failure{Exit::BadInput, *o.screenshot + ": " + writable.error};
    }

    const std::string core = findCore(configuredCore(), coreFolders());
    if (core.empty())
        throw Failure{Exit::BadInput,
                      "no libretro NES core was found: install " + coreInstallAdvice()};
    std::string error;
    const auto host = PlayHost::open(core, error);
    if (!host) throw Failure{Exit::BadInput, error};
    if (place) {
        const StartSequence start = startGame(*host, image.bytes, *place, error);
        if (!error.empty()) throw Failure{Exit::BadInput, o.file + ": " + error};
        if (!start.reached()) throw Failure{Exit::BadInput, start.message()};
        std::cerr << "qorv: " << start.message() << " (" << start.frames()
                  << " frames after power-on)\n";
    } else if (!host->load(image.bytes, error)) {
        throw Failure{Exit::BadInput, o.file + ": " + error};
    }

    Printer printer(watches, o.json);
    for (long long f = 1; f <= o.frames; ++f) {
        host->setButtons(input.buttonsAt(f - 1));
        host->run();
        host->audio().clear();
        if (f % o.every == 0 || f == o.frames) printer.print(f, host->ram());
    }
    if (o.screenshot && !writePng(*o.screenshot, host->frame(), error))
        throw Failure{Exit::BadInput, *o.screenshot + ": " + error};
}

} // namespace qv::cli
