// The choice of the folder for the program's own files.
#include "ProgramFiles.h"

#include <unistd.h>

#include "machine/MachineParameters.h"

namespace app {

std::filesystem::path xdgConfigFolder(const char* xdgConfigHome, const char* home) {
  // The XDG rules ignore a relative XDG_CONFIG_HOME.
  if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') return std::filesystem::path(xdgConfigHome) / "veltris";
  if (home != nullptr && home[0] != '\0') return std::filesystem::path(home) / ".config" / "veltris";
  return {};
}

bool folderWritable(const std::filesystem::path& folder) {
  return !folder.empty() && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

ProgramFiles chooseProgramFiles(const std::filesystem::path& executable,
                                const std::function<bool(const std::filesystem::path&)>& writable,
                                const std::filesystem::path& fallbackFolder) {
  ProgramFiles files;
  files.folder = executable.parent_path();
  if (!writable(files.folder) && !fallbackFolder.empty()) {
    files.folder = fallbackFolder;
    files.fallback = true;
  }
  const std::string name = executable.filename().string();
  files.Parameterdatei = files.folder / machine::ParamDateiname(name);
  files.Konfigdatei = files.folder / machine::KonfigDateiname(name);
  return files;
}

}  // namespace app
