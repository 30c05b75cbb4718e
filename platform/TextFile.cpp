// Whole-file reading and atomic replacement over POSIX descriptors.
#include "TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "TextCodec.h"

namespace platform {

namespace {

constexpr const char* kKeineDatei = "keine gewöhnliche Datei";
constexpr const char* kZuGross = "Datei größer als 1 GiB";

// Links followed at most when a save resolves the name it writes to, as the system does.
constexpr int kMaxLinks = 40;

std::string systemText(int err) { return std::strerror(err); }

bool writeAll(int fd, std::string_view bytes, int& err) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Why a file is refused for reading: the system's error, or one of our own texts; errno-like
// code 0 with a text means a refusal of our own.
struct ReadFailure {
  int err = 0;
  std::string text;
};

// Reads the file into `bytes`. Opened without blocking, so that a FIFO cannot hang the caller, and
// refused unless it is a regular file of at most kMaxReadBytes (a device such as /dev/zero would
// never end).
bool readRegularFile(const std::filesystem::path& path, std::string& bytes, ReadFailure& failure) {
  bytes.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    failure = {errno, systemText(errno)};
    return false;
  }
  auto refuse = [&](ReadFailure f) {
    ::close(fd);
    bytes.clear();
    failure = std::move(f);
    return false;
  };
  struct stat st {};
  if (::fstat(fd, &st) != 0) return refuse({errno, systemText(errno)});
  if (S_ISDIR(st.st_mode)) return refuse({EISDIR, systemText(EISDIR)});
  if (!S_ISREG(st.st_mode)) return refuse({0, kKeineDatei});
  if (static_cast<std::uint64_t>(st.st_size) > kMaxReadBytes) return refuse({0, kZuGross});
  bytes.reserve(static_cast<std::size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      return refuse({errno, systemText(errno)});
    }
    if (n == 0) break;
    // A file that grows while it is read is held to the same limit.
    if (bytes.size() + static_cast<std::size_t>(n) > kMaxReadBytes) return refuse({0, kZuGross});
    bytes.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return true;
}

// The file a save writes to: a symbolic link is followed to the file it names (which need not
// exist yet), so that the save replaces that file and the link stays.
std::filesystem::path resolveLinks(const std::filesystem::path& path) {
  std::filesystem::path current = path;
  for (int i = 0; i < kMaxLinks; ++i) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
    if (n < 0 || static_cast<std::size_t>(n) >= target.size()) return current;
    target.resize(static_cast<std::size_t>(n));
    const std::filesystem::path next(target);
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  return current;
}

// Mode of the replacement: the old file's, so a save keeps its permissions; 0644 for a new file
// (reading the umask would mean changing it, which is not safe while other threads create files).
mode_t replacementMode(int dirfd, const std::string& name) {
  struct stat st {};
  if (::fstatat(dirfd, name.c_str(), &st, 0) == 0) return st.st_mode & 07777;
  return 0644;
}

// Name under which the new content is linked just before the rename: short whatever the
// target's name (a name of 255 bytes must still be savable), hidden, and the same for every save
// of one file, so that a save removes what a save killed in that instant left.
std::string temporaryName(const std::string& name) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (unsigned char c : name) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  static const char* const kHex = "0123456789abcdef";
  std::string text = ".~";
  for (int shift = 60; shift >= 0; shift -= 4) text.push_back(kHex[(hash >> shift) & 0xF]);
  return text + ".tmp";
}

// Gives the unnamed file `fd` the name `tempName` in the folder. /proc is the way the system
// documents for this; without it, the empty-path form (which needs more privileges).
bool linkUnnamed(int fd, int dirfd, const std::string& tempName, int& err) {
  const std::string procPath = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 0; attempt < 3; ++attempt) {
    ::unlinkat(dirfd, tempName.c_str(), 0);
    if (::linkat(AT_FDCWD, procPath.c_str(), dirfd, tempName.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
    if (errno == ENOENT && ::linkat(fd, "", dirfd, tempName.c_str(), AT_EMPTY_PATH) == 0) return true;
    err = errno;
    // Another save of the same file linked its temporary in the meantime: try again.
    if (err != EEXIST) return false;
  }
  return false;
}

}  // namespace

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  // Each line is cut out whole: a plot file of millions of lines is split without growing every
  // line character by character.
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

bool readFileBytes(const std::filesystem::path& path, std::string& bytes, std::string* error) {
  ReadFailure failure;
  if (readRegularFile(path, bytes, failure)) return true;
  if (error) *error = failure.text;
  return false;
}

TextReadResult readTextLines(const std::filesystem::path& path) {
  TextReadResult result;
  std::string bytes;
  ReadFailure failure;
  if (!readRegularFile(path, bytes, failure)) {
    result.status = failure.err == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
    result.error = failure.text;
    return result;
  }
  // Text that is already UTF-8 (plain ASCII above all) is split as it lies, without a copy.
  result.lines = isValidUtf8(bytes) ? splitLines(bytes) : splitLines(cp1252ToUtf8(bytes));
  result.status = ReadStatus::Ok;
  return result;
}

bool writeFileAtomic(const std::filesystem::path& path, std::string_view bytes, std::string* error) {
  const std::filesystem::path target = resolveLinks(path);
  const std::filesystem::path dir = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  const std::string name = target.filename().string();
  const std::string tempName = temporaryName(name);
  auto fail = [error](int err) {
    if (error) *error = systemText(err);
    return false;
  };
  if (name.empty()) return fail(EISDIR);

  const int dirfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirfd < 0) return fail(errno);
  const mode_t mode = replacementMode(dirfd, name);
  // What a save of this file killed between link and rename left: the old file is still whole.
  ::unlinkat(dirfd, tempName.c_str(), 0);

  // The new content goes into a file without a name, so that a save killed while it writes
  // leaves nothing behind. File systems without such files get a named temporary instead.
  bool named = false;
  int fd = ::openat(dirfd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
  if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
    ::unlinkat(dirfd, tempName.c_str(), 0);
    fd = ::openat(dirfd, tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    named = fd >= 0;
  }
  if (fd < 0) {
    const int err = errno;
    ::close(dirfd);
    return fail(err);
  }

  int err = 0;
  bool ok = writeAll(fd, bytes, err);
  if (ok && ::fchmod(fd, mode) != 0) {
    ok = false;
    err = errno;
  }
  if (ok && ::fsync(fd) != 0) {
    ok = false;
    err = errno;
  }
  if (named && ::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  // Nothing else happens between the link and the rename, which keeps the moment in which a
  // kill leaves the short name behind as short as can be.
  bool linked = named;
  if (ok && !named) {
    ok = linkUnnamed(fd, dirfd, tempName, err);
    linked = ok;
  }
  if (ok && ::renameat(dirfd, tempName.c_str(), dirfd, name.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  // The unnamed file was written and flushed; closing it cannot lose data any more.
  if (!named) ::close(fd);
  if (ok) {
    // The rename itself reaches the disk with the folder. A folder that cannot be synced (some
    // file systems refuse) still holds the new file.
    ::fsync(dirfd);
  } else if (linked) {
    ::unlinkat(dirfd, tempName.c_str(), 0);
  }
  ::close(dirfd);
  if (!ok) return fail(err);
  return true;
}

bool writeTextLinesAtomic(const std::filesystem::path& path, const std::vector<std::string>& lines,
                          std::string* error) {
  std::string bytes;
  for (const auto& line : lines) {
    bytes += utf8ToCp1252(line);
    bytes += "\r\n";
  }
  return writeFileAtomic(path, bytes, error);
}

bool appendTextLine(const std::filesystem::path& path, std::string_view line) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  std::string bytes = utf8ToCp1252(line);
  bytes += "\r\n";
  int err = 0;
  const bool ok = writeAll(fd, bytes, err);
  ::close(fd);
  return ok;
}

}  // namespace platform
