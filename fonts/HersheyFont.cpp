// Hershey records. The line ends inside a record are not part of its data, nor is anything after
// its last pair (some files pad their lines with blanks).
#include "HersheyFont.h"

#include "platform/NumberFormat.h"
#include "platform/TextFile.h"

namespace fonts {

namespace {

constexpr std::size_t kNummerBreite = 5;
constexpr std::size_t kAnzahlBreite = 3;
constexpr int kNullpunkt = 'R';

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

HersheyGlyph glyphOf(std::string_view data, int pairs) {
  HersheyGlyph glyph;
  glyph.left = data[0] - kNullpunkt;
  glyph.right = data[1] - kNullpunkt;
  std::vector<HersheyPoint> stroke;
  for (int i = 1; i < pairs; ++i) {
    const char a = data[2 * static_cast<std::size_t>(i)];
    const char b = data[2 * static_cast<std::size_t>(i) + 1];
    if (a == ' ' && b == 'R') {
      if (!stroke.empty()) glyph.strokes.push_back(std::move(stroke));
      stroke.clear();
      continue;
    }
    stroke.push_back({a - kNullpunkt, b - kNullpunkt});
  }
  if (!stroke.empty()) glyph.strokes.push_back(std::move(stroke));
  return glyph;
}

}  // namespace

HersheyFont parseHershey(std::string_view text) {
  HersheyFont font;
  const std::vector<std::string> lines = platform::splitLines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (trimmed(line).empty()) continue;
    const std::string where = "line " + std::to_string(i + 1);
    if (line.size() < kNummerBreite + kAnzahlBreite) {
      font.error = where + ": record too short";
      return font;
    }
    const auto pairs = platform::parseInt32(trimmed(std::string_view(line).substr(kNummerBreite, kAnzahlBreite)));
    if (!pairs || *pairs < 1) {
      font.error = where + ": no coordinate count";
      return font;
    }
    const std::size_t needed = 2 * static_cast<std::size_t>(*pairs);
    std::string data = line.substr(kNummerBreite + kAnzahlBreite);
    while (data.size() < needed && i + 1 < lines.size()) data += lines[++i];
    if (data.size() < needed) {
      font.error = where + ": record ends early";
      return font;
    }
    for (std::size_t k = 0; k < needed; ++k) {
      if (data[k] < ' ' || data[k] > '~') {
        font.error = where + ": coordinate is no printable letter";
        return font;
      }
    }
    font.glyphs.push_back(glyphOf(data, *pairs));
  }
  return font;
}

}  // namespace fonts
