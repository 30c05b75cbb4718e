// What the download window offers to choose from: the serial ports present, and the HEX files of
// a folder.
//
// Thread context: any thread; blocks on the file system.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace download {

// "COM1" ... "COM255", ascending, for every port whose device exists.
std::vector<std::string> PortExists();

// Full paths of the regular files in `folder` whose names end ".hex" in any case, sorted; a
// folder whose own name ends ".hex" is searched as well (a few levels deep at most, and not
// through links).
std::vector<std::string> FindHexFiles(const std::filesystem::path& folder);

}  // namespace download
