// Whole-file reading and atomic replacement over POSIX descriptors.
#include "TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "TextCodec.h"

namespace platform {

namespace {

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

// Mode of the replacement: the old file's, so a save keeps its permissions; 0644 for a new file
// (reading the umask would mean changing it, which is not safe while other threads create files).
mode_t replacementMode(const std::filesystem::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
  return 0644;
}

}  // namespace

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string current;
  bool pending = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(std::move(current));
      current.clear();
      pending = false;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current.push_back(c);
      pending = true;
    }
  }
  if (pending) lines.push_back(std::move(current));
  return lines;
}

bool readFileBytes(const std::filesystem::path& path, std::string& bytes, std::string* error) {
  bytes.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = systemText(errno);
    return false;
  }
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (error) *error = systemText(errno);
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    bytes.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return true;
}

TextReadResult readTextLines(const std::filesystem::path& path) {
  TextReadResult result;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    result.status = ec ? ReadStatus::Failed : ReadStatus::Missing;
    if (ec) result.error = ec.message();
    return result;
  }
  if (std::filesystem::is_directory(path, ec)) {
    result.status = ReadStatus::Failed;
    result.error = systemText(EISDIR);
    return result;
  }
  std::string bytes;
  if (!readFileBytes(path, bytes, &result.error)) {
    result.status = ReadStatus::Failed;
    return result;
  }
  result.lines = splitLines(decodeFileText(bytes));
  result.status = ReadStatus::Ok;
  return result;
}

bool writeFileAtomic(const std::filesystem::path& path, std::string_view bytes, std::string* error) {
  const std::filesystem::path dir = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  std::string tmpl = (dir / ("." + path.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = systemText(errno);
    return false;
  }
  int err = 0;
  bool ok = writeAll(fd, bytes, err);
  if (ok && ::fchmod(fd, replacementMode(path)) != 0) {
    ok = false;
    err = errno;
  }
  if (ok && ::fsync(fd) != 0) {
    ok = false;
    err = errno;
  }
  if (::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok && ::rename(tmpl.c_str(), path.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    ::unlink(tmpl.c_str());
    if (error) *error = systemText(err);
  }
  return ok;
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
