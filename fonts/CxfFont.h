// Stroke fonts for engraved text made from Hershey glyphs: the glyphs of the printable ASCII
// characters, the German umlauts and the degree sign composed from base glyphs and accents,
// scaled to a cap height, set on the baseline at x 0 with y up, and written as the lines of a
// CXF font file (name line, dimensions line, glyph blocks of "L" and "A" strokes).
//
// Thread context: pure functions; any thread. Nothing blocks.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fonts/HersheyFont.h"

namespace fonts {

struct CxfStroke {
  enum class Kind { Line, Arc };
  Kind kind = Kind::Line;
  // Line: x1, y1, x2, y2. Arc: centre x, centre y, radius, start and end angle (degrees,
  // counter-clockwise).
  double v[5] = {0.0, 0.0, 0.0, 0.0, 0.0};
};

struct CxfGlyph {
  std::string zeichen;  // the character, UTF-8
  std::vector<CxfStroke> strokes;
};

struct CxfStyle {
  std::string name;                  // the name line's value, such as "normal"
  std::string quelle;                // the Hershey file it is made from, for the file's comment
  double versalhoehe = 9.0;          // cap height in font units
  double buchstabenFaktor = 0.25;    // the dimensions line's letter-spacing factor
  double wortFaktor = 0.4;           // and its word-spacing factor
  std::optional<double> zellbreite;  // fixed advance in font units: every glyph fitted into it
};

// The characters every font has: the printable ASCII characters, then "äöüÄÖÜ°".
std::vector<std::string> cxfCharacters();

// The glyphs of `cxfCharacters()` from a Hershey font whose glyphs are in ASCII order from the
// blank. Empty with `error` set when the font lacks a glyph this needs.
std::vector<CxfGlyph> cxfGlyphs(const HersheyFont& hershey, const CxfStyle& style, std::string& error);

// The lines of the font file: three comment lines, the name and dimensions lines, the Hershey
// acknowledgements as '#' lines, and one glyph block per glyph.
std::vector<std::string> cxfLines(const std::vector<CxfGlyph>& glyphs, const CxfStyle& style);

// The acknowledgements the Hershey fonts' licence asks to ship with the data, one line each.
std::vector<std::string> hersheyAcknowledgements();

}  // namespace fonts
