// Intel-HEX firmware files: the whole file is read and checked before any of it is used, and
// its data records become blocks of 16-bit words at word addresses (byte address / 2).
//
// A file is good when every line starts with ':', holds only hex digits (either case), has the
// length its byte count gives and a matching checksum, and is a data record (even address, even
// byte count), an extended linear address record or an end record. Every fourth byte of the
// image (byte address 3 modulo 4) is the pad byte above an instruction's 24 bits: in a file
// for these parts it is 0, and a file with any other value there was made for another chip.
//
// An end record does not end the reading: a file joined from several images is read whole,
// each image from extended address 0 as if it stood alone. Its last record must be an end
// record (blank lines may follow one); a file without it was cut off. Both line ends are
// accepted.
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
