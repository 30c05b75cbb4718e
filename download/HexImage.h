// Intel-HEX firmware files: the whole file is read and checked before any of it is used, and
// its data records become blocks of 16-bit words at word addresses (byte address / 2).
//
// A file is good when every line up to its end record starts with ':', holds only hex digits
// (either case), has the length its byte count gives and a matching checksum, and is a data
// record (even address, even byte count), an extended linear address record or the end record.
// Nothing after the end record is read; a file without one is bad. Both line ends are accepted.
//
// Thread context: any thread; no shared state. loadHexFile blocks on the file system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace download {

// Longest file read: far beyond the largest firmware of the supported parts, so that only a
// file that cannot be one is refused for its size.
inline constexpr std::size_t kMaxHexFileBytes = 64u << 20;

struct HexBlock {
  // Word address of the first word: (record address + extended address) / 2.
  std::uint64_t wordAddress = 0;
  // Each group of four hex digits of the data field, read as one number ("0400" is 0x0400).
  std::vector<std::uint16_t> words;
};

struct HexReadResult {
  bool ok = false;
  std::vector<HexBlock> blocks;  // in file order; only when ok
  int line = 0;                  // the first bad line (1-based); 0 when the file as a whole is bad
  std::string reason;            // what is wrong, in English, for diagnostics
};

HexReadResult readHexImage(std::string_view content);

struct HexFileResult {
  bool opened = false;  // false: the file could not be opened or read
  HexReadResult hex;
};

HexFileResult loadHexFile(const std::filesystem::path& path);

}  // namespace download
