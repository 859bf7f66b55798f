// qorv: the game-parameter editor's core, from the command line.
#include <string>
#include <vector>

#include "cli/app.h"
#include "core/system.h"

int main(int argc, char** argv) {
    // Arguments and output are UTF-8 on every system.
    qv::useBinaryStandardStreams();
    std::vector<std::string> args = qv::commandLineArguments(argc, argv);
    std::vector<char*> pointers;
    for (std::string& a : args)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);
    return qv::cli::run(static_cast<int>(args.size()), pointers.data());
}
