// Composition and scaling of the CXF glyphs. Work is done in Hershey units (y down, cap height 21
// from y -12 to the baseline at y 9) and mapped to the font's units only at the end.
//
// A fixed advance: the text reader advances by a glyph's rightmost point, so a glyph ends at the
// cell's right edge; a glyph wider than the cell is condensed to fit it.
#include "CxfFont.h"

#include <algorithm>
#include <cmath>
#include <limits>

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
    left = cell - width * squeeze;
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
  for (const char* c : {"ä", "ö", "ü", "Ä", "Ö", "Ü", "°"}) chars.emplace_back(c);
  return chars;
}

std::vector<CxfGlyph> cxfGlyphs(const HersheyFont& hershey, const CxfStyle& style, std::string& error) {
  const std::size_t needed = static_cast<std::size_t>(kLetztesZeichen - kErstesZeichen) + 1;
  if (hershey.glyphs.size() < needed) {
    error = "the font has " + std::to_string(hershey.glyphs.size()) + " glyphs, the printable ASCII characters need " +
            std::to_string(needed);
    return {};
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
