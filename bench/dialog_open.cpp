// What bench/run.py needs to open the editor's dialogs under X (bench_dialog_x):
//   dialog_open --write-image PATH  writes the image the editor opens there
//   dialog_open --list-dialogs      the Edit menu's dialogs, "DIGIT NAME" a line, where
//                                   Ctrl+DIGIT opens NAME in the editor
// The image has every item at its default, so that every control shows a value (an
// empty image would leave many lists out of bounds, and cheap).
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/tables/registry.h"

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--list-dialogs") {
        for (const qv::DialogEntry& e : qv::dialogEntries())
            if (e.inMenu() && e.shortcut)
                std::printf("%d %.*s\n", e.shortcut, static_cast<int>(e.name.size()),
                            e.name.data());
        return 0;
    }
    if (mode == "--write-image" && argc > 2) {
        std::vector<std::uint8_t> img(40976, 0);
        for (const qv::DialogTable* t : qv::dialogTables())
            for (const qv::Item* it : t->items())
                it->write(img, 0, it->defaultValue);
        std::FILE* f = std::fopen(argv[2], "wb");
        const bool ok = f && std::fwrite(img.data(), 1, img.size(), f) == img.size();
        return (f && std::fclose(f) == 0 && ok) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: dialog_open --write-image PATH | --list-dialogs\n");
    return 2;
}
