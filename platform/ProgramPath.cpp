// Program folder, taken from the executable's path unless set explicitly.
#include "ProgramPath.h"

#include <mutex>
#include <optional>

namespace platform {

namespace {

std::mutex& folderMutex() {
  static std::mutex m;
  return m;
}

std::optional<std::filesystem::path>& folderOverride() {
  static std::optional<std::filesystem::path> folder;
  return folder;
}

}  // namespace

std::filesystem::path executablePath() {
  std::error_code ec;
  auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return p;
}

std::filesystem::path programFolder() {
  {
    std::lock_guard lock(folderMutex());
    if (folderOverride()) return *folderOverride();
  }
  return executablePath().parent_path();
}

void setProgramFolder(const std::filesystem::path& folder) {
  std::lock_guard lock(folderMutex());
  folderOverride() = folder;
}

}  // namespace platform
