#pragma once
// The subcommands of qorv, each a function of its parsed arguments. They print their
// results to standard output and report failures by throwing Failure; nothing is
// written to a file unless the whole command can succeed.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/document.h"

namespace qv::cli {

// Exit statuses: 1 for a command line that does not parse, 2 for a file or value the
// command cannot use.
enum class Exit { Ok = 0, Usage = 1, BadInput = 2 };

struct Failure {
    Exit status = Exit::BadInput;
    std::string message; // one line per problem, without the "qorv: " prefix
};

// Loads through the editor's own checks; their message, on one line, on failure.
std::unique_ptr<RomDocument> loadImage(const std::string& path);

void info(const std::string& file);
void dump(const std::string& file, bool json, const std::optional<std::string>& dialog);
void get(const std::string& file, const std::vector<std::string>& controls);
void set(const std::string& file, const std::vector<std::string>& assignments,
         const std::optional<std::string>& output);

} // namespace qv::cli
