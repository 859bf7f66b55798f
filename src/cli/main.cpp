// qorv: the game-parameter editor's core, from the command line.
#include "cli/app.h"

int main(int argc, char** argv) {
    return qv::cli::run(argc, argv);
}
