// The Intel-HEX reader: one pass over the lines, each checked whole before its data is kept.
#include "HexImage.h"

#include <fstream>

namespace download {

namespace {

constexpr std::uint8_t kData = 0x00;
constexpr std::uint8_t kEnd = 0x01;
constexpr std::uint8_t kExtendedLinear = 0x04;
// ':' + count, address and type (8 digits) + 255 data bytes + checksum.
constexpr std::size_t kMaxRecordChars = 1 + 8 + 2 * 255 + 2;

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

HexReadResult bad(int line, std::string reason) {
  HexReadResult result;
  result.line = line;
  result.reason = std::move(reason);
  return result;
}

// The bytes of a record line without its ':'; empty reason when the line is well formed.
std::string decode(std::string_view line, std::vector<std::uint8_t>& bytes) {
  if (line.empty() || line.front() != ':') return "line does not start with ':'";
  if (line.size() > kMaxRecordChars) return "line too long";
  const std::string_view digits = line.substr(1);
  if (digits.size() < 10 || digits.size() % 2 != 0) return "wrong record length";
  bytes.clear();
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    const int hi = hexDigit(digits[i]);
    const int lo = hexDigit(digits[i + 1]);
    if (hi < 0 || lo < 0) return "not a hex digit";
    bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
  }
  if (bytes.size() != 5u + bytes[0]) return "byte count does not match the record length";
  unsigned sum = 0;
  for (std::uint8_t b : bytes) sum += b;
  if ((sum & 0xFFu) != 0) return "checksum error";
  return {};
}

// Nothing but blanks, tabs and the DOS end-of-file character.
bool isBlank(std::string_view line) {
  for (char c : line)
    if (c != ' ' && c != '\t' && c != '\x1A') return false;
  return true;
}

}  // namespace

HexReadResult readHexImage(std::string_view content) {
  HexReadResult result;
  std::uint64_t extended = 0;
  // The last record read was an end record.
  bool ended = false;
  std::vector<std::uint8_t> bytes;
  int lineNumber = 0;
  std::size_t pos = 0;
  while (pos < content.size()) {
    const std::size_t newline = content.find('\n', pos);
    std::string_view line =
        content.substr(pos, newline == std::string_view::npos ? std::string_view::npos : newline - pos);
    pos = newline == std::string_view::npos ? content.size() : newline + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    // Editors and old copy tools leave blank lines or an end-of-file character behind an image.
    if (ended && isBlank(line)) continue;

    if (std::string reason = decode(line, bytes); !reason.empty()) return bad(lineNumber, std::move(reason));
    const std::size_t count = bytes[0];
    const unsigned address = (static_cast<unsigned>(bytes[1]) << 8) | bytes[2];
    const std::uint8_t type = bytes[3];
    ended = false;
    switch (type) {
      case kData: {
        // Words are two bytes at even byte addresses: anything else cannot be split into words.
        if (address % 2 != 0) return bad(lineNumber, "odd address in a data record");
        if (count % 2 != 0) return bad(lineNumber, "odd byte count in a data record");
        // The pad byte's place follows from the byte's address, not from its place in the record.
        for (std::size_t i = 0; i < count; ++i)
          if ((extended + address + i) % 4 == 3 && bytes[4 + i] != 0)
            return bad(lineNumber, "pad byte not 0: not an image for these parts");
        HexBlock block;
        block.wordAddress = (address + extended) / 2;
        for (std::size_t i = 0; i < count; i += 2)
          block.words.push_back(static_cast<std::uint16_t>((bytes[4 + i] << 8) | bytes[5 + i]));
        if (!block.words.empty()) result.blocks.push_back(std::move(block));
        break;
      }
      case kEnd:
        if (count != 0) return bad(lineNumber, "end record with data");
        // An image joined behind this one starts without an extended address of its own.
        extended = 0;
        ended = true;
        break;
      case kExtendedLinear:
        if (count != 2) return bad(lineNumber, "extended address record of wrong length");
        extended = static_cast<std::uint64_t>((bytes[4] << 8) | bytes[5]) << 16;
        break;
      default:
        return bad(lineNumber, "unsupported record type");
    }
  }
  if (!ended) return bad(0, "no end record at the end of the file");
  result.ok = true;
  return result;
}

HexFileResult loadHexFile(const std::filesystem::path& path) {
  HexFileResult result;
  std::ifstream in(path, std::ios::binary);
  if (!in) return result;
  // Read in pieces up to one byte beyond the limit: that tells a file that is too long from one
  // that just fits, without trusting a size the file system reports.
  std::string content;
  std::string piece(64 * 1024, '\0');
  while (content.size() <= kMaxHexFileBytes) {
    in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
    content.append(piece.data(), static_cast<std::size_t>(in.gcount()));
    if (!in) break;
  }
  if (in.bad()) return result;
  result.opened = true;
  if (content.size() > kMaxHexFileBytes) {
    result.hex.reason = "file too large";
    return result;
  }
  result.hex = readHexImage(content);
  return result;
}

}  // namespace download
