// Stroke fonts for engraved text made from Hershey glyphs: the glyphs of the printable ASCII
// characters; the German umlauts, the degree sign, Ø ø ² ³ and € composed from the font's own
// glyphs; µ ± § × taken from other Hershey fonts of the same design; ß drawn here in the font's
// slant. Each is scaled to a cap height, set on the baseline at x 0 (centred in its cell in a
// fixed-pitch font) with y up, and written as the lines of a CXF font file (name line,
// dimensions line, glyph blocks of "L" and "A" strokes).
//
// Thread context: pure functions; any thread. Nothing blocks.
#pragma once

#include <map>
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

// A glyph taken from another Hershey font: the one at `position` of the font read from `source`.
struct CxfBorrowed {
  std::string zeichen;  // the character, UTF-8
  std::string source;   // file name, such as "mathlow.jhf"
  char position = ' ';  // its place in that font's ASCII order
};

struct CxfStyle {
  std::string name;                   // the name line's value, such as "normal"
  std::string quelle;                 // the Hershey file it is made from, for the file's comment
  double versalhoehe = 9.0;           // cap height in font units
  double buchstabenFaktor = 0.25;     // the dimensions line's letter-spacing factor
  double wortFaktor = 0.4;            // and its word-spacing factor
  std::optional<double> zellbreite;   // fixed advance in font units: every glyph fitted into it
  double slant = 0.0;                 // of the design: x per unit of height (a script leans right)
  bool doubleStems = false;           // stems drawn as two strokes side by side (complex designs)
  std::vector<CxfBorrowed> borrowed;  // glyphs of `cxfCharacters()` taken from other fonts
};

// Hershey fonts by file name.
using HersheyFonts = std::map<std::string, HersheyFont>;

// The characters every font has: the printable ASCII characters, then "äöüÄÖÜ°", then the further
// characters of a German front panel "ßµ±Øø²³§€×" (all of them Windows-1252 characters).
std::vector<std::string> cxfCharacters();

// The glyphs of `cxfCharacters()` from the fonts named by the style (each with its glyphs in ASCII
// order from the blank). Empty with `error` set when a font is not given or lacks a glyph this
// needs, or when the style borrows none for a character that needs one.
std::vector<CxfGlyph> cxfGlyphs(const HersheyFonts& hershey, const CxfStyle& style, std::string& error);

// The lines of the font file: three comment lines, the name and dimensions lines, the Hershey
// acknowledgements as '#' lines, and one glyph block per glyph.
std::vector<std::string> cxfLines(const std::vector<CxfGlyph>& glyphs, const CxfStyle& style);

// The acknowledgements the Hershey fonts' licence asks to ship with the data, one line each.
std::vector<std::string> hersheyAcknowledgements();

}  // namespace fonts
