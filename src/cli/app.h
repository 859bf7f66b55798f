#pragma once
// The qorv command line: parses the arguments, runs one subcommand and turns its
// outcome into messages on standard error and an exit status.
namespace qv::cli {

int run(int argc, char** argv);

} // namespace qv::cli
