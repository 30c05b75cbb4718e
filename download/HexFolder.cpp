// Port list and folder search of the download window.
#include "HexFolder.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "platform/SerialPortNames.h"

namespace download {

namespace {

constexpr int kLastPort = 255;
// Bounds for the search through folders named like HEX files.
constexpr int kMaxDepth = 4;
constexpr std::size_t kMaxFiles = 10000;

bool endsWithHex(const std::string& name) {
  if (name.size() < 4) return false;
  std::string end = name.substr(name.size() - 4);
  std::transform(end.begin(), end.end(), end.begin(), [](unsigned char c) { return std::tolower(c); });
  return end == ".hex";
}

void search(const std::filesystem::path& folder, int depth, std::vector<std::string>& files) {
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  if (ec) return;
  for (const std::filesystem::directory_entry& entry : it) {
    if (files.size() >= kMaxFiles) return;
    if (!endsWithHex(entry.path().filename().string())) continue;
    std::error_code kind;
    if (entry.is_directory(kind)) {
      // A linked folder may lead back to where the search began.
      if (depth < kMaxDepth && !entry.is_symlink(kind)) search(entry.path(), depth + 1, files);
    } else if (entry.is_regular_file(kind)) {
      files.push_back(entry.path().string());
    }
  }
}

}  // namespace

std::vector<std::string> PortExists() {
  std::vector<std::string> ports;
  for (int n = 1; n <= kLastPort; ++n)
    if (platform::comPortExists(n)) ports.push_back("COM" + std::to_string(n));
  return ports;
}

std::vector<std::string> FindHexFiles(const std::filesystem::path& folder) {
  std::vector<std::string> files;
  search(folder, 0, files);
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace download
