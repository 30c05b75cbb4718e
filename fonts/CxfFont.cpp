// Composition and scaling of the CXF glyphs. Work is done in Hershey units (y down, cap height 21
// from y -12 to the baseline at y 9) and mapped to the font's units only at the end.
//
// A fixed advance: each glyph is centred in its cell, a glyph wider than the cell condensed to
// fit it; the text reader gives every glyph of "courier.cxf" at least the width of a blank, which
// the dimensions line makes the cell's.
//
// The sharp s is drawn here in the manner of the Hershey designs: straight segments between points
// of their grid, leaned by the script's slant, its stem doubled as the script doubles its stems.
#include "CxfFont.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <utility>

#include "platform/NumberFormat.h"

namespace fonts {

namespace {

constexpr double kHersheyVersal = 21.0;
constexpr double kHersheyBasis = 9.0;
constexpr double kVersalPunktY = -16.0;  // centre of the dots over a capital
constexpr double kGradRadius = 4.0;      // the degree ring, its top on the cap height
constexpr double kPunktAbstand = 0.22;   // half the dots' distance, of the base glyph's width
constexpr double kPunktMinAbstand = 2.0;
constexpr char kErstesZeichen = ' ';
constexpr char kLetztesZeichen = '~';
constexpr double kSuperscriptSize = 0.6;  // size of ² and ³ against the digits
constexpr double kSlashHalfWidth = 0.45;  // half the width of the slash of Ø and ø, of its height
constexpr double kEuroOpening = 50.0;     // half the opening of the €'s body, degrees
constexpr double kEuroBarOffset = 2.5;    // the €'s bars above and below the body's middle
constexpr double kEuroBarReach = 3.0;     // how far the bars reach out left of the body
constexpr double kEuroBarEnd = 0.6;       // where they end, of the body's inner width
constexpr const char* kBorrowedCharacters[] = {"µ", "±", "§", "×"};

struct Pt {
  double x = 0.0;
  double y = 0.0;
};

struct Ring {
  Pt c;
  double r = 0.0;
};

struct Shape {
  std::vector<std::vector<Pt>> lines;
  std::vector<Ring> rings;
};

struct Box {
  double minX = std::numeric_limits<double>::infinity();
  double maxX = -std::numeric_limits<double>::infinity();
  double minY = std::numeric_limits<double>::infinity();
  double maxY = -std::numeric_limits<double>::infinity();
  bool empty() const { return minX > maxX; }
  void add(double x, double y) {
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
};

Shape shapeOf(const HersheyGlyph& glyph) {
  Shape shape;
  for (const auto& stroke : glyph.strokes) {
    std::vector<Pt> line;
    for (const HersheyPoint& p : stroke) line.push_back({static_cast<double>(p.x), static_cast<double>(p.y)});
    shape.lines.push_back(std::move(line));
  }
  return shape;
}

Box boxOf(const Shape& shape) {
  Box box;
  for (const auto& line : shape.lines)
    for (const Pt& p : line) box.add(p.x, p.y);
  for (const Ring& ring : shape.rings) {
    box.add(ring.c.x - ring.r, ring.c.y - ring.r);
    box.add(ring.c.x + ring.r, ring.c.y + ring.r);
  }
  return box;
}

Shape moved(Shape shape, double dx, double dy) {
  for (auto& line : shape.lines)
    for (Pt& p : line) p = {p.x + dx, p.y + dy};
  for (Ring& ring : shape.rings) ring.c = {ring.c.x + dx, ring.c.y + dy};
  return shape;
}

void add(Shape& to, const Shape& from) {
  to.lines.insert(to.lines.end(), from.lines.begin(), from.lines.end());
  to.rings.insert(to.rings.end(), from.rings.begin(), from.rings.end());
}

const HersheyGlyph& glyphOf(const HersheyFont& font, char c) {
  return font.glyphs[static_cast<std::size_t>(c - kErstesZeichen)];
}

// Centre x of the glyph's top quarter, where accents sit (a slanted glyph leans right there).
double topCentreX(const Shape& shape) {
  const Box box = boxOf(shape);
  const double limit = box.minY + 0.25 * (box.maxY - box.minY);
  Box top;
  for (const auto& line : shape.lines)
    for (const Pt& p : line)
      if (p.y <= limit) top.add(p.x, p.y);
  return top.empty() ? (box.minX + box.maxX) / 2.0 : (top.minX + top.maxX) / 2.0;
}

// Centre y of the dot over the 'i', where the dots over small letters sit.
double iDotY(const HersheyFont& font) {
  const Shape i = shapeOf(glyphOf(font, 'i'));
  double topmost = std::numeric_limits<double>::infinity();
  double centre = kVersalPunktY;
  for (const auto& line : i.lines) {
    Box box;
    for (const Pt& p : line) box.add(p.x, p.y);
    if (!box.empty() && box.maxY < topmost) {
      topmost = box.maxY;
      centre = (box.minY + box.maxY) / 2.0;
    }
  }
  return centre;
}

// A base letter with two dots, each a copy of the font's full stop, centred over its top.
Shape umlaut(const HersheyFont& font, char base, double dotY) {
  Shape shape = shapeOf(glyphOf(font, base));
  const Shape dot = shapeOf(glyphOf(font, '.'));
  const Box dotBox = boxOf(dot);
  const Box baseBox = boxOf(shape);
  const double half = std::max(kPunktMinAbstand, kPunktAbstand * (baseBox.maxX - baseBox.minX));
  const double x = topCentreX(shape);
  const double dx = (dotBox.minX + dotBox.maxX) / 2.0;
  const double dy = dotY - (dotBox.minY + dotBox.maxY) / 2.0;
  add(shape, moved(dot, x - half - dx, dy));
  add(shape, moved(dot, x + half - dx, dy));
  return shape;
}

Shape degreeSign() {
  Shape shape;
  shape.rings.push_back({{kGradRadius, -12.0 + kGradRadius}, kGradRadius});
  return shape;
}

// A digit at 0.6 of its size with its top on the cap height.
Shape superscript(const HersheyFont& font, char digit) {
  Shape shape = shapeOf(glyphOf(font, digit));
  if (boxOf(shape).empty()) return shape;
  for (auto& line : shape.lines)
    for (Pt& p : line) p = {p.x * kSuperscriptSize, p.y * kSuperscriptSize};
  return moved(shape, 0.0, -kHersheyVersal + kHersheyBasis - boxOf(shape).minY);
}

// A letter struck through its middle from below its left foot to its top right, at the same
// steepness whatever the letter's width (a script's exit stroke would flatten it), the stroke no
// higher than the cap height.
Shape slashed(const HersheyFont& font, char base) {
  Shape shape = shapeOf(glyphOf(font, base));
  const Box box = boxOf(shape);
  if (box.empty()) return shape;
  const double top = std::max(box.minY - 1.0, kHersheyBasis - kHersheyVersal);
  const double bottom = box.maxY + 1.0;
  const double half = kSlashHalfWidth * (bottom - top);
  const double cx = (box.minX + box.maxX) / 2.0;
  shape.lines.push_back({{cx - half, bottom}, {cx + half, top}});
  return shape;
}

// Where a horizontal line at y first and last crosses the shape's strokes.
std::pair<double, double> crossings(const Shape& shape, double y) {
  double left = std::numeric_limits<double>::infinity();
  double right = -left;
  for (const auto& line : shape.lines) {
    for (std::size_t k = 1; k < line.size(); ++k) {
      const Pt a = line[k - 1];
      const Pt b = line[k];
      if ((a.y - y) * (b.y - y) > 0.0 || a.y == b.y) continue;
      const double x = a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y);
      left = std::min(left, x);
      right = std::max(right, x);
    }
  }
  return {left, right};
}

// The euro sign: the font's zero opened on the right, crossed by two bars that reach out left of
// it, so that it leans and is stroked as the font's figures are.
Shape euroSign(const HersheyFont& font) {
  const Shape zero = shapeOf(glyphOf(font, '0'));
  const Box box = boxOf(zero);
  if (box.empty()) return zero;
  const double cx = (box.minX + box.maxX) / 2.0;
  const double cy = (box.minY + box.maxY) / 2.0;
  const double a = (box.maxX - box.minX) / 2.0;
  const double b = (box.maxY - box.minY) / 2.0;
  const auto open = [&](const Pt& p) {
    if (!(a > 0.0) || !(b > 0.0)) return false;
    const double degrees = std::atan2((cy - p.y) / b, (p.x - cx) / a) * 180.0 / std::numbers::pi;
    return std::fabs(degrees) < kEuroOpening;
  };
  Shape shape;
  for (const auto& line : zero.lines) {
    std::vector<Pt> run;
    for (const Pt& p : line) {
      if (!open(p)) {
        run.push_back(p);
        continue;
      }
      if (run.size() > 1) shape.lines.push_back(run);
      run.clear();
    }
    if (run.size() > 1) shape.lines.push_back(run);
  }
  for (const double y : {cy - kEuroBarOffset, cy + kEuroBarOffset}) {
    const auto [left, right] = crossings(zero, y);
    shape.lines.push_back({{left - kEuroBarReach, y}, {left + kEuroBarEnd * (right - left), y}});
  }
  return shape;
}

// The sharp s of a simplex design: an ascender stem running into a small upper bowl, the waist
// near the stem, and a larger lower bowl returning to the baseline. A slanted design leans it; a
// complex one doubles its stem.
Shape eszett(const CxfStyle& style) {
  const std::vector<Pt> stem = {{-6, 9}, {-6, -6}, {-5, -9}, {-4, -11}, {-2, -12}};
  const std::vector<Pt> bowls = {{-2, -12}, {1, -12}, {3, -11}, {4, -10}, {5, -8}, {5, -6}, {4, -4},
                                 {2, -3},   {0, -3},  {3, -2},  {5, -1},  {6, 1},  {7, 3},  {7, 5},
                                 {6, 7},    {5, 8},   {3, 9},   {0, 9},   {-2, 8}};
  Shape shape;
  shape.lines = {stem, bowls};
  if (style.doubleStems) {
    std::vector<Pt> second = stem;
    second.pop_back();
    for (Pt& p : second) p.x += 1.0;
    shape.lines.push_back(second);
  }
  for (auto& line : shape.lines)
    for (Pt& p : line) p.x += style.slant * (kHersheyBasis - p.y);
  return shape;
}

CxfGlyph toCxf(std::string zeichen, const Shape& shape, const CxfStyle& style) {
  CxfGlyph glyph{std::move(zeichen), {}};
  const Box box = boxOf(shape);
  if (box.empty()) return glyph;
  const double f = style.versalhoehe / kHersheyVersal;
  const double width = box.maxX - box.minX;
  double squeeze = 1.0;
  double left = 0.0;
  if (style.zellbreite) {
    const double cell = *style.zellbreite / f;
    if (width > cell) squeeze = cell / width;
    left = (cell - width * squeeze) / 2.0;
  }
  const auto mapX = [&](double x) { return (left + (x - box.minX) * squeeze) * f; };
  const auto mapY = [&](double y) { return (kHersheyBasis - y) * f; };

  for (const auto& line : shape.lines) {
    if (line.size() == 1) {
      // A single point is a dot: a cut of no length.
      glyph.strokes.push_back(
          {CxfStroke::Kind::Line, {mapX(line[0].x), mapY(line[0].y), mapX(line[0].x), mapY(line[0].y)}});
    }
    for (std::size_t k = 1; k < line.size(); ++k) {
      const Pt a = line[k - 1];
      const Pt b = line[k];
      if (a.x == b.x && a.y == b.y) continue;
      glyph.strokes.push_back({CxfStroke::Kind::Line, {mapX(a.x), mapY(a.y), mapX(b.x), mapY(b.y)}});
    }
  }
  for (const Ring& ring : shape.rings)
    glyph.strokes.push_back({CxfStroke::Kind::Arc, {mapX(ring.c.x), mapY(ring.c.y), ring.r * squeeze * f, 0.0, 360.0}});
  return glyph;
}

// A number as short as it can be written: four decimals at most, no trailing zeros.
std::string number(double v) {
  std::string text = platform::formatFixed(v, 4);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text == "-0" ? "0" : text;
}

std::string strokeLine(const CxfStroke& s) {
  if (s.kind == CxfStroke::Kind::Line)
    return "L " + number(s.v[0]) + "," + number(s.v[1]) + "," + number(s.v[2]) + "," + number(s.v[3]);
  return "A " + number(s.v[0]) + "," + number(s.v[1]) + "," + number(s.v[2]) + "," + number(s.v[3]) + "," +
         number(s.v[4]);
}

}  // namespace

std::vector<std::string> cxfCharacters() {
  std::vector<std::string> chars;
  for (char c = kErstesZeichen; c <= kLetztesZeichen; ++c) chars.emplace_back(1, c);
  for (const char* c : {"ä", "ö", "ü", "Ä", "Ö", "Ü", "°", "ß", "µ", "±", "Ø", "ø", "²", "³", "§", "€", "×"})
    chars.emplace_back(c);
  return chars;
}

std::vector<CxfGlyph> cxfGlyphs(const HersheyFonts& fonts, const CxfStyle& style, std::string& error) {
  const std::size_t needed = static_cast<std::size_t>(kLetztesZeichen - kErstesZeichen) + 1;
  const auto font = [&](const std::string& name) -> const HersheyFont* {
    const auto found = fonts.find(name);
    if (found == fonts.end()) {
      error = name + " is not given";
      return nullptr;
    }
    if (found->second.glyphs.size() < needed) {
      error = name + " has " + std::to_string(found->second.glyphs.size()) +
              " glyphs, the printable ASCII characters need " + std::to_string(needed);
      return nullptr;
    }
    return &found->second;
  };
  const HersheyFont* main = font(style.quelle);
  if (main == nullptr) return {};
  const HersheyFont& hershey = *main;
  std::map<std::string, Shape> borrowed;
  for (const CxfBorrowed& b : style.borrowed) {
    const HersheyFont* source = font(b.source);
    if (source == nullptr) return {};
    if (b.position < kErstesZeichen || b.position > kLetztesZeichen) {
      error = b.zeichen + ": no place of an ASCII character in " + b.source;
      return {};
    }
    borrowed.emplace(b.zeichen, shapeOf(glyphOf(*source, b.position)));
  }
  for (const char* zeichen : kBorrowedCharacters) {
    if (borrowed.count(zeichen) == 0) {
      error = std::string("the style names no font for ") + zeichen;
      return {};
    }
  }

  std::vector<CxfGlyph> glyphs;
  for (char c = kErstesZeichen; c <= kLetztesZeichen; ++c)
    glyphs.push_back(toCxf(std::string(1, c), shapeOf(glyphOf(hershey, c)), style));
  const double small = iDotY(hershey);
  const struct {
    const char* zeichen;
    char base;
    double dotY;
  } umlauts[] = {{"ä", 'a', small},         {"ö", 'o', small},         {"ü", 'u', small},
                 {"Ä", 'A', kVersalPunktY}, {"Ö", 'O', kVersalPunktY}, {"Ü", 'U', kVersalPunktY}};
  for (const auto& u : umlauts) glyphs.push_back(toCxf(u.zeichen, umlaut(hershey, u.base, u.dotY), style));
  glyphs.push_back(toCxf("°", degreeSign(), style));
  glyphs.push_back(toCxf("ß", eszett(style), style));
  glyphs.push_back(toCxf("µ", borrowed.at("µ"), style));
  glyphs.push_back(toCxf("±", borrowed.at("±"), style));
  glyphs.push_back(toCxf("Ø", slashed(hershey, 'O'), style));
  glyphs.push_back(toCxf("ø", slashed(hershey, 'o'), style));
  glyphs.push_back(toCxf("²", superscript(hershey, '2'), style));
  glyphs.push_back(toCxf("³", superscript(hershey, '3'), style));
  glyphs.push_back(toCxf("§", borrowed.at("§"), style));
  glyphs.push_back(toCxf("€", euroSign(hershey), style));
  glyphs.push_back(toCxf("×", borrowed.at("×"), style));
  return glyphs;
}

std::vector<std::string> cxfLines(const std::vector<CxfGlyph>& glyphs, const CxfStyle& style) {
  std::vector<std::string> lines = {
      "# Stroke font \"" + style.name + "\" for engraved text, made by cxfconvert",
      "# from the Hershey font " + style.quelle + "; cap height " + number(style.versalhoehe) + " units,",
      "# each glyph from the left end of its baseline, y up.",
      "# Name: " + style.name,
      "# Dimensions: " + number(style.buchstabenFaktor) + " " + number(style.wortFaktor) + " " +
          number(style.versalhoehe),
      "#"};
  for (const std::string& line : hersheyAcknowledgements()) lines.push_back("# " + line);
  lines.push_back("#");
  for (const CxfGlyph& glyph : glyphs) {
    lines.push_back("[" + glyph.zeichen + "] " + std::to_string(glyph.strokes.size()));
    for (const CxfStroke& stroke : glyph.strokes) lines.push_back(strokeLine(stroke));
  }
  return lines;
}

std::vector<std::string> hersheyAcknowledgements() {
  return {"The Hershey Fonts were originally created by Dr.",
          "A. V. Hershey while working at the U. S.",
          "National Bureau of Standards.",
          "The format of the Font data in this distribution",
          "was originally created by",
          "James Hurt",
          "Cognition, Inc.",
          "900 Technology Park Drive",
          "Billerica, MA 01821",
          "(mit-eddie!ci-dandelion!hurt)"};
}

}  // namespace fonts
