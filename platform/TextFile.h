// Text files as the program keeps them on disk: Windows-1252 bytes, CR LF after every line,
// replaced atomically when written.
//
// Thread context: any thread. Calls block on file I/O. Nothing is cached; each call opens and
// closes the file itself.
#pragma once

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

// Reads a whole file and splits it into UTF-8 lines (see decodeFileText).
TextReadResult readTextLines(const std::filesystem::path& path);

// Reads a whole file's bytes; false with the system's text in `error` when it cannot.
bool readFileBytes(const std::filesystem::path& path, std::string& bytes, std::string* error = nullptr);

// Writes the bytes to a temporary file beside `path`, flushes it to disk and renames it over
// `path`, so that a crash or a full disk never leaves a half-written or emptied file behind.
// On failure the old file is untouched, the temporary is removed and `error` gets the system text.
bool writeFileAtomic(const std::filesystem::path& path, std::string_view bytes, std::string* error = nullptr);

// Joins the lines (UTF-8) as Windows-1252 with CR LF after each one and writes them atomically.
bool writeTextLinesAtomic(const std::filesystem::path& path, const std::vector<std::string>& lines,
                          std::string* error = nullptr);

// Appends one line (UTF-8 in, Windows-1252 and CR LF on disk), creating the file when missing.
// Returns false when the file cannot be opened or written.
bool appendTextLine(const std::filesystem::path& path, std::string_view line);

}  // namespace platform
