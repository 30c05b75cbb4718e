// Override-then-table lookup of serial device paths.
#include "SerialPortNames.h"

#include <sys/stat.h>

#include <cstdlib>

namespace platform {

std::string comDevicePath(int n) {
  if (n <= 0) return {};
  const std::string var = "VELTRIS_COM" + std::to_string(n);
  if (const char* override = std::getenv(var.c_str()); override != nullptr && *override != '\0') return override;
  if (n <= 4) return "/dev/ttyS" + std::to_string(n - 1);
  if (n <= 12) return "/dev/ttyUSB" + std::to_string(n - 5);
  if (n <= 20) return "/dev/ttyACM" + std::to_string(n - 13);
  return {};
}

bool comPortExists(int n) {
  const std::string path = comDevicePath(n);
  if (path.empty()) return false;
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

}  // namespace platform
