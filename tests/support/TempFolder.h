// A fresh folder under the system's temporary directory ($TMPDIR, else /tmp), removed with
// everything in it at the end of its scope; and one that is the program folder while it lives.
//
// Thread context: the owning thread. Nothing may still write into the folder when it goes.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

#include "platform/ProgramPath.h"

namespace testsupport {

class TempFolder {
 public:
  // `prefix` names the folder ("veltris-machine" gives "veltris-machine-Ab12Cd"); it must hold no '/'.
  explicit TempFolder(const std::string& prefix = "veltris-test") {
    std::string tmpl = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
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

// A temporary folder that serves as the program folder while it lives; the one before comes back
// before the folder is removed.
class ProgramFolder : public TempFolder {
 public:
  explicit ProgramFolder(const std::string& prefix = "veltris-test")
      : TempFolder(prefix), previous_(platform::programFolder()) {
    platform::setProgramFolder(path());
  }
  ~ProgramFolder() { platform::setProgramFolder(previous_); }

 private:
  std::filesystem::path previous_;
};

}  // namespace testsupport
