// Listing the base files of a DATA folder. File names on disk are UTF-8;
// the patterns ("*.phb", "*" + a group's extension) match the end of a name
// without regard to ASCII case, as the directory search of the original
// platform did. The order is by name (byte order), so it is the same on
// every file system.
#pragma once

#include <string>
#include <vector>

namespace kvelo {

// Names (without folder) of the regular files in `folder` whose names end
// with `suffix`; empty when the folder cannot be read.
std::vector<std::string> ListFilesEndingWith(const std::string& folder, const std::string& suffix);

// `folder` joined with `name`.
std::string JoinPath(const std::string& folder, const std::string& name);

} // namespace kvelo
