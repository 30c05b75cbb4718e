// Where veltris keeps its own files: the parameter file, the configuration file and the trace
// log lie in the folder of the running executable, named after the executable in lower case.
// When that folder is not writable (an installed program), the XDG configuration folder
// "veltris" takes its place.
//
// Thread context: any thread; the functions keep no state. The choice is made once at start by
// the main window. folderWritable and createFolder touch the file system.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace app {

struct ProgramFiles {
  std::filesystem::path folder;          // holds all three files
  bool fallback = false;                 // the executable's folder was not writable
  std::filesystem::path Parameterdatei;  // <folder>/<name>_param.dat
  std::filesystem::path Konfigdatei;     // <folder>/<name>_konfig.dat
};

// "$XDG_CONFIG_HOME/veltris" when that variable holds an absolute path, else
// "$HOME/.config/veltris"; empty when neither can be formed. Null pointers count as unset.
std::filesystem::path xdgConfigFolder(const char* xdgConfigHome, const char* home);

// True when the process may create files in the folder.
bool folderWritable(const std::filesystem::path& folder);

// The files for the executable at `executable`: its folder when `writable` says so (or when
// there is no fallback folder), else `fallbackFolder`.
ProgramFiles chooseProgramFiles(const std::filesystem::path& executable,
                                const std::function<bool(const std::filesystem::path&)>& writable,
                                const std::filesystem::path& fallbackFolder);

}  // namespace app
