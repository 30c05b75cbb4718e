// Windows-1252 <-> UTF-8 tables and the file-text decoding rule.
#include "TextCodec.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace platform {

namespace {

// Code points of bytes 0x80-0x9F in Windows-1252; undefined bytes keep their C1 value.
constexpr std::array<char32_t, 32> kHigh = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Decodes one UTF-8 sequence at `pos`; returns its length, or 0 when it is not valid.
std::size_t decodeOne(std::string_view s, std::size_t pos, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[pos]);
  std::size_t len = 0;
  char32_t min = 0;
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  } else if ((b0 & 0xE0) == 0xC0) {
    len = 2;
    cp = b0 & 0x1F;
    min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3;
    cp = b0 & 0x0F;
    min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4;
    cp = b0 & 0x07;
    min = 0x10000;
  } else {
    return 0;
  }
  if (pos + len > s.size()) return 0;
  for (std::size_t i = 1; i < len; ++i) {
    const auto b = static_cast<unsigned char>(s[pos + i]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

int cp1252Byte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (std::size_t i = 0; i < kHigh.size(); ++i)
    if (kHigh[i] == cp) return static_cast<int>(0x80 + i);
  return -1;
}

}  // namespace

std::string cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out.push_back(c);
    } else if (b < 0xA0) {
      appendUtf8(out, kHigh[b - 0x80]);
    } else {
      appendUtf8(out, b);
    }
  }
  return out;
}

std::string utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    char32_t cp = 0;
    const std::size_t len = decodeOne(text, pos, cp);
    if (len == 0) {
      out.push_back(text[pos]);
      ++pos;
      continue;
    }
    const int b = cp1252Byte(cp);
    out.push_back(b < 0 ? '?' : static_cast<char>(b));
    pos += len;
  }
  return out;
}

bool isValidUtf8(std::string_view bytes) {
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
      ++pos;
      continue;
    }
    char32_t cp = 0;
    const std::size_t len = decodeOne(bytes, pos, cp);
    if (len == 0) return false;
    pos += len;
  }
  return true;
}

std::vector<std::string> utf8Characters(std::string_view text) {
  std::vector<std::string> characters;
  std::size_t pos = 0;
  while (pos < text.size()) {
    char32_t cp = 0;
    const std::size_t len = std::max<std::size_t>(decodeOne(text, pos, cp), 1);
    characters.emplace_back(text.substr(pos, len));
    pos += len;
  }
  return characters;
}

std::string decodeFileText(std::string_view bytes) {
  if (isValidUtf8(bytes)) return std::string(bytes);
  return cp1252ToUtf8(bytes);
}

std::string lowerLatin(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    char32_t cp = 0;
    const std::size_t len = decodeOne(text, pos, cp);
    if (len == 0) {
      out.push_back(text[pos]);
      ++pos;
      continue;
    }
    if (cp >= 'A' && cp <= 'Z') {
      cp += 0x20;
    } else if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) {
      cp += 0x20;
    }
    appendUtf8(out, cp);
    pos += len;
  }
  return out;
}

}  // namespace platform
