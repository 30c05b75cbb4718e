// A fresh folder under the system's temporary directory, removed with everything in it at the
// end of its scope; optionally made the program folder for the duration.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "platform/ProgramPath.h"

namespace machinetest {

class TempFolder {
 public:
  TempFolder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "veltris-machine-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// A temporary folder that serves as the program folder while it lives.
class ProgramFolder : public TempFolder {
 public:
  ProgramFolder() : previous_(platform::programFolder()) { platform::setProgramFolder(path()); }
  ~ProgramFolder() { platform::setProgramFolder(previous_); }

 private:
  std::filesystem::path previous_;
};

}  // namespace machinetest
