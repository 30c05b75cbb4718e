// Stroke-font files ("CXF-Schriftdatei") of TEXT rows: a name line and a dimensions line, then
// glyph blocks "[c] n" of n stroke lines, "L x1,y1,x2,y2" straight and "A cx,cy,r,a1,a2" arcs in
// font units (origin at the left end of the baseline, y up). Files are read, never written.
//
// A file is taken whole or not at all: a glyph count that is no integer or runs past the end, a
// stroke whose numbers do not parse or lie beyond kSchriftMaxKoordinate, a glyph of more than
// kGlyphMaxPunkte points or a file beyond kSchriftMaxBytes make it malformed, so a text never
// cuts part of a broken font.
//
// Thread context: any thread (drawing on the GUI thread, milling on the run's thread); loading
// blocks on file I/O. The font is a value; nothing is cached between loads. Nothing throws.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace panel {

inline constexpr std::uintmax_t kSchriftMaxBytes = 1u << 20;
inline constexpr double kSchriftMaxKoordinate = 10000.0;  // font units and degrees
inline constexpr std::size_t kGlyphMaxPunkte = 20000;     // points of all strokes of one glyph
inline constexpr std::size_t kDimensionsWortMaxZeichen = 11;

struct FontStroke {
  enum class Kind { Line, Arc, Other };
  Kind kind = Kind::Other;
  // Line: x1, y1, x2, y2. Arc: centre x, centre y, radius, start angle, end angle, the end angle
  // already raised by 360 when it was smaller than the start angle (the arc runs
  // counter-clockwise from start to end).
  double v[5] = {0.0, 0.0, 0.0, 0.0, 0.0};
};

using Glyph = std::vector<FontStroke>;

struct StrokeFont {
  // The name line ("# Name:", line 4) and the dimensions line ("# Dimensions:" with three words,
  // line 5) have their form.
  bool kopfForm = false;
  std::string name;               // from the name line: trimmed, lower case, ".cxf" appended
  double buchstabenFaktor = 0.0;  // first word of the dimensions line: letter spacing per mm of height
  double wortFaktor = 0.0;        // second word: word spacing per mm of height
  // The first block of each character, keyed by the character's UTF-8 bytes.
  std::unordered_map<std::string, Glyph> zeichen;

  // The header applies to a TEXT row whose font cell is `schriftname`, compared exactly.
  bool kopfGilt(std::string_view schriftname) const { return kopfForm && name == schriftname; }
};

enum class FontStatus { Ok, Missing, Unreadable, Malformed };

struct FontLoad {
  FontStatus status = FontStatus::Missing;
  StrokeFont font;  // only meaningful with Ok
};

// Parses the lines of a font file (UTF-8, without line ends).
FontLoad parseStrokeFont(const std::vector<std::string>& lines);

// Where the font file of a TEXT row's font cell lies: in the program folder or, where the program
// keeps its files elsewhere, beside the executable. A file of exactly that name comes first; else
// one whose name differs only in letter case ("NORMAL.CXF" finds normal.cxf). Empty when the name
// is not a plain file name (a path could reach any file) or when no such file exists.
std::filesystem::path strokeFontPath(std::string_view schriftname);

// Finds, reads and parses the font of a font cell.
FontLoad loadStrokeFont(std::string_view schriftname);

}  // namespace panel
