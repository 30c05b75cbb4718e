// Stroke-font reader. Numbers of stroke lines are read as C's "%f" reads them (leading blanks,
// '.' as the decimal point, text after the last number ignored), without the process locale.
#include "StrokeFont.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <system_error>

#include "machine/TextConvert.h"
#include "platform/NumberFormat.h"
#include "platform/ProgramPath.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"

namespace panel {

namespace {

constexpr std::size_t kNamensZeile = 3;
constexpr std::size_t kDimensionsZeile = 4;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The text after the first ':' when the text up to and including it is exactly `prefix`.
std::optional<std::string_view> afterPrefix(std::string_view line, std::string_view prefix) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos || line.substr(0, colon + 1) != prefix) return std::nullopt;
  return line.substr(colon + 1);
}

std::vector<std::string_view> words(std::string_view text) {
  std::vector<std::string_view> out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && isSpace(text[pos])) ++pos;
    const std::size_t begin = pos;
    while (pos < text.size() && !isSpace(text[pos])) ++pos;
    if (pos > begin) out.push_back(text.substr(begin, pos - begin));
  }
  return out;
}

// One "%f" at `pos`: blanks skipped, an optional sign, a decimal number with optional exponent.
std::optional<double> scanNumber(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && isSpace(text[pos])) ++pos;
  if (pos < text.size() && text[pos] == '+') ++pos;
  double value = 0.0;
  const char* begin = text.data() + pos;
  const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), value, std::chars_format::general);
  if (ec != std::errc() || !std::isfinite(value) || std::fabs(value) > kSchriftMaxKoordinate) return std::nullopt;
  pos += static_cast<std::size_t>(end - begin);
  return value;
}

// `count` numbers separated by ',' after the stroke letter.
bool scanNumbers(std::string_view line, int count, double* values) {
  std::size_t pos = 1;
  for (int i = 0; i < count; ++i) {
    if (i > 0) {
      if (pos >= line.size() || line[pos] != ',') return false;
      ++pos;
    }
    const std::optional<double> v = scanNumber(line, pos);
    if (!v) return false;
    values[i] = *v;
  }
  return true;
}

// Points the layout makes of an arc: its start, one per whole degree after it, and its end.
std::size_t arcPoints(double start, double end) {
  const double sweep = end - start;
  return 2 + (sweep > 1.0 ? static_cast<std::size_t>(std::ceil(sweep)) - 1 : 0);
}

std::optional<FontStroke> parseStroke(std::string_view line) {
  FontStroke stroke;
  if (line.empty()) return stroke;
  if (line[0] == 'L') {
    stroke.kind = FontStroke::Kind::Line;
    if (!scanNumbers(line, 4, stroke.v)) return std::nullopt;
  } else if (line[0] == 'A') {
    stroke.kind = FontStroke::Kind::Arc;
    if (!scanNumbers(line, 5, stroke.v)) return std::nullopt;
    if (stroke.v[4] < stroke.v[3]) stroke.v[4] += 360.0;
  }
  return stroke;
}

// The character of a glyph block's first line "[c] n": the bytes of c, and the text of n.
struct BlockHead {
  std::string zeichen;
  std::string_view anzahl;
};

std::optional<BlockHead> blockHead(std::string_view line) {
  if (line.empty() || line[0] != '[') return std::nullopt;
  const std::vector<std::string> chars = platform::utf8Characters(line.substr(1, 5));
  if (chars.size() < 2 || chars[1] != "]") return std::nullopt;
  BlockHead head{chars[0], {}};
  std::size_t pos = 1 + chars[0].size() + 1;
  // The fourth character (a blank) is skipped; the count follows.
  if (pos < line.size()) pos += platform::utf8Characters(line.substr(pos, 4)).front().size();
  head.anzahl = line.substr(std::min(pos, line.size()));
  return head;
}

void readHeader(const std::vector<std::string>& lines, StrokeFont& font) {
  const std::optional<std::string_view> name = afterPrefix(lines[kNamensZeile], "# Name:");
  if (!name) return;
  const std::optional<std::string_view> dims = afterPrefix(lines[kDimensionsZeile], "# Dimensions:");
  if (!dims) return;
  const std::vector<std::string_view> w = words(*dims);
  if (w.size() < 3) return;
  for (std::size_t i = 0; i < 3; ++i)
    if (platform::utf8Characters(w[i]).size() > kDimensionsWortMaxZeichen) return;
  font.kopfForm = true;
  font.name = platform::lowerLatin(machine::Text_trimmen(*name)) + ".cxf";
  font.buchstabenFaktor = machine::Text_in_Zahl(w[0]);
  font.wortFaktor = machine::Text_in_Zahl(w[1]);
}

// The entry of `folder` whose name equals `name` but for the letter case, as a document made where
// file names ignore case may name its font ("Normal.cxf", "NORMAL.CXF"). Of several such entries
// the first in byte order, so the choice does not depend on the order the folder lists them in.
std::filesystem::path entryInAnyCase(const std::filesystem::path& folder, std::string_view name) {
  const std::string wanted = platform::lowerLatin(name);
  std::string best;
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    if (platform::lowerLatin(entry) == wanted && (best.empty() || entry < best)) best = entry;
  }
  return best.empty() ? std::filesystem::path() : folder / best;
}

}  // namespace

FontLoad parseStrokeFont(const std::vector<std::string>& lines) {
  FontLoad load;
  load.status = FontStatus::Malformed;
  if (lines.size() <= kNamensZeile) return load;
  // A name line in its form is followed by the dimensions line, which must be there.
  if (afterPrefix(lines[kNamensZeile], "# Name:") && lines.size() <= kDimensionsZeile) return load;
  StrokeFont& font = load.font;
  if (lines.size() > kDimensionsZeile) readHeader(lines, font);

  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::optional<BlockHead> head = blockHead(lines[i]);
    if (!head) continue;
    const std::optional<std::int32_t> n = platform::parseInt32(machine::Text_trimmen(head->anzahl));
    if (!n || *n < 0 || static_cast<std::size_t>(*n) >= lines.size() - i) return load;
    Glyph glyph;
    std::size_t punkte = 0;
    for (std::size_t j = i + 1; j <= i + static_cast<std::size_t>(*n); ++j) {
      const std::optional<FontStroke> stroke = parseStroke(lines[j]);
      if (!stroke) return load;
      if (stroke->kind == FontStroke::Kind::Line) punkte += 2;
      if (stroke->kind == FontStroke::Kind::Arc) punkte += arcPoints(stroke->v[3], stroke->v[4]);
      if (punkte > kGlyphMaxPunkte) return load;
      glyph.push_back(*stroke);
    }
    // The first block of a character is its glyph; later ones are checked and not used.
    font.zeichen.try_emplace(head->zeichen, std::move(glyph));
    i += static_cast<std::size_t>(*n);
  }
  load.status = FontStatus::Ok;
  return load;
}

std::filesystem::path strokeFontPath(std::string_view schriftname) {
  if (schriftname.empty() || schriftname == "." || schriftname == ".." ||
      schriftname.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos)
    return {};
  std::vector<std::filesystem::path> folders;
  for (const std::filesystem::path& folder : {platform::programFolder(), platform::executablePath().parent_path()})
    if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end())
      folders.push_back(folder);
  for (const std::filesystem::path& folder : folders) {
    std::error_code ec;
    const std::filesystem::path path = folder / std::string(schriftname);
    if (std::filesystem::exists(path, ec)) return path;
  }
  for (const std::filesystem::path& folder : folders) {
    const std::filesystem::path path = entryInAnyCase(folder, schriftname);
    if (!path.empty()) return path;
  }
  return {};
}

FontLoad loadStrokeFont(std::string_view schriftname) {
  FontLoad load;
  const std::filesystem::path path = strokeFontPath(schriftname);
  if (path.empty()) return load;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    load.status = FontStatus::Unreadable;
    return load;
  }
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec || size > kSchriftMaxBytes) {
    load.status = ec ? FontStatus::Unreadable : FontStatus::Malformed;
    return load;
  }
  std::string bytes;
  if (!platform::readFileBytes(path, bytes)) {
    load.status = FontStatus::Unreadable;
    return load;
  }
  if (bytes.size() > kSchriftMaxBytes) {
    load.status = FontStatus::Malformed;
    return load;
  }
  return parseStrokeFont(platform::splitLines(platform::decodeFileText(bytes)));
}

}  // namespace panel
