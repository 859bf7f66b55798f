#pragma once
// The names the shell completion offers, one per line on standard output, so that
// the completion scripts never keep a list of their own:
//   commands             the subcommands
//   ips                  the subcommands of ips
//   dialogs              the dialog names --dialog accepts
//   controls [DIALOG]    the control names, of every dialog or of one
//   values CONTROL       what set accepts for a check or choice control
#include <string>
#include <vector>

namespace qv::cli {

// Returns the exit status: 0, or 1 for a request it does not know.
int complete(const std::vector<std::string>& args);

} // namespace qv::cli
