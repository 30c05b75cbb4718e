// Text files as the program keeps them on disk: Windows-1252 bytes, CR LF after every line,
// replaced atomically when written.
//
// Thread context: any thread. Calls block on file I/O. Nothing is cached; each call opens and
// closes the file itself.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class ReadStatus { Ok, Missing, Failed };

struct TextReadResult {
  ReadStatus status = ReadStatus::Failed;
  std::vector<std::string> lines;  // UTF-8, without line ends
  std::string error;               // system text when status is Failed
};

// Splits decoded text into lines at CR LF, LF or a lone CR; a final line end adds no empty line,
// and no line keeps a CR.
std::vector<std::string> splitLines(std::string_view text);

// Largest file the readers take.
inline constexpr std::uint64_t kMaxReadBytes = std::uint64_t{1} << 30;

// Reads a whole file and splits it into UTF-8 lines (see decodeFileText). Status Missing when
// there is no such file; `error` holds the reason for Missing and Failed alike.
TextReadResult readTextLines(const std::filesystem::path& path);

// Reads a whole file's bytes; false with the reason in `error` when it cannot. Only a regular
// file of at most kMaxReadBytes is read: a folder, a FIFO, a device or a larger file is refused
// with a text of its own, and the open never blocks.
bool readFileBytes(const std::filesystem::path& path, std::string& bytes, std::string* error = nullptr);

// Replaces the file at `path` with the bytes, so that neither a crash, a kill nor a full disk ever
// leaves a half-written or emptied file: the bytes go into an unnamed file in the same folder,
// are flushed to disk, are linked under a short hidden name only just before the rename over the
// target, and the folder is flushed after the rename. A symbolic link at `path` is followed: the
// file it points to is replaced and the link stays. On failure the old file is untouched, no
// temporary is left and `error` gets the system text.
bool writeFileAtomic(const std::filesystem::path& path, std::string_view bytes, std::string* error = nullptr);

// Joins the lines (UTF-8) as Windows-1252 with CR LF after each one and writes them atomically.
bool writeTextLinesAtomic(const std::filesystem::path& path, const std::vector<std::string>& lines,
                          std::string* error = nullptr);

// Appends one line (UTF-8 in, Windows-1252 and CR LF on disk), creating the file when missing.
// Returns false when the file cannot be opened or written.
bool appendTextLine(const std::filesystem::path& path, std::string_view line);

}  // namespace platform
