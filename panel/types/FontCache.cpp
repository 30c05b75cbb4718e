// A small map from font file to the font read from it, with the file's status at that time.
#include "FontCache.h"

#include <sys/stat.h>

#include <map>
#include <mutex>
#include <string>

namespace panel {

namespace {

// More fonts than a panel uses; past it the map starts afresh.
constexpr std::size_t kMaxFonts = 32;

// What tells one version of a file from another: a file replaced atomically has a new inode, one
// rewritten in place a new time of change.
struct FileVersion {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec changed{};
  timespec modified{};
  bool operator==(const FileVersion& o) const {
    return device == o.device && inode == o.inode && size == o.size && changed.tv_sec == o.changed.tv_sec &&
           changed.tv_nsec == o.changed.tv_nsec && modified.tv_sec == o.modified.tv_sec &&
           modified.tv_nsec == o.modified.tv_nsec;
  }
};

struct Entry {
  FileVersion version;
  std::shared_ptr<const FontLoad> font;
};

std::mutex cacheMutex;
std::map<std::string, Entry> cache;

}  // namespace

std::shared_ptr<const FontLoad> sharedStrokeFont(std::string_view schriftname) {
  const std::filesystem::path path = strokeFontPath(schriftname);
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    // Missing, not a file, or gone since it was found: no version to keep.
    return std::make_shared<const FontLoad>(loadStrokeFont(schriftname));
  }
  const FileVersion version{info.st_dev, info.st_ino, info.st_size, info.st_ctim, info.st_mtim};
  const std::string key = path.string();
  {
    const std::lock_guard lock(cacheMutex);
    const auto found = cache.find(key);
    if (found != cache.end() && found->second.version == version) return found->second.font;
  }
  // Read outside the lock: another thread may read the same file meanwhile; the later one wins.
  auto font = std::make_shared<const FontLoad>(loadStrokeFont(schriftname));
  const std::lock_guard lock(cacheMutex);
  if (cache.size() >= kMaxFonts) cache.clear();
  cache[key] = Entry{version, font};
  return font;
}

}  // namespace panel
