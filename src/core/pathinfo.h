#pragma once
// What stands at a path that is not a file to read, in words for a message.
#include <string>

namespace qv {

// "The file does not exist.", "is a folder, not a file", "is a FIFO (named pipe), not
// a file", "is a socket, not a file", "is a device, not a file", "is a loop of
// links", or the system's reason; empty for a regular file or a link to one.
std::string notAFile(const std::string& path);

} // namespace qv
