// File time setting for the development files, over utimensat().
#include "FileTimes.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/ProgramPath.h"
#include "platform/TextCodec.h"

namespace machine {

namespace {

std::optional<timespec> toTimespec(const FileTimeStamp& stamp) {
  using namespace std::chrono;
  const year_month_day date{year{stamp.year}, month{static_cast<unsigned>(stamp.month)},
                            day{static_cast<unsigned>(stamp.day)}};
  if (stamp.month < 1 || stamp.day < 1 || !date.ok()) return std::nullopt;
  if (stamp.hour < 0 || stamp.hour > 23 || stamp.minute < 0 || stamp.minute > 59 || stamp.second < 0 ||
      stamp.second > 59 || stamp.millisecond < 0 || stamp.millisecond > 999)
    return std::nullopt;
  const auto secs =
      sys_days(date).time_since_epoch() + hours(stamp.hour) + minutes(stamp.minute) + seconds(stamp.second);
  timespec ts{};
  ts.tv_sec = static_cast<time_t>(duration_cast<seconds>(secs).count());
  ts.tv_nsec = static_cast<long>(stamp.millisecond) * 1000000L;
  return ts;
}

// The extension after the last '.', or nullopt for a name without one.
std::optional<std::string> extensionOf(const std::string& fileName) {
  const auto dot = fileName.rfind('.');
  if (dot == std::string::npos) return std::nullopt;
  return platform::lowerLatin(std::string_view(fileName).substr(dot + 1));
}

}  // namespace

void Dateizeiten_setzen(const FileTimeStamp& stamp, const std::string& extA, const std::string& extB) {
  const auto time = toTimespec(stamp);
  if (!time) return;

  std::vector<std::string> extensions = {"cpp", "h",   "dfm", "res", "bpr", "dat", "tvx",
                                         "obj", "exe", "txt", "lnk", "bat", "png"};
  if (!extA.empty()) extensions.push_back(platform::lowerLatin(extA));
  if (!extB.empty()) extensions.push_back(platform::lowerLatin(extB));

  const std::filesystem::path folder = platform::programFolder();
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  if (ec) return;
  const timespec times[2] = {*time, *time};
  for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
    if (ec) return;
    const auto& entry = *it;
    // Symbolic links are left alone so that nothing outside the folder is changed through one.
    std::error_code statEc;
    if (!entry.is_regular_file(statEc) || entry.is_symlink(statEc)) continue;
    const auto ext = extensionOf(entry.path().filename().string());
    if (!ext) continue;
    bool wanted = false;
    for (const auto& e : extensions) wanted = wanted || e == *ext;
    if (!wanted) continue;
    ::utimensat(AT_FDCWD, entry.path().c_str(), times, AT_SYMLINK_NOFOLLOW);
  }
}

}  // namespace machine
