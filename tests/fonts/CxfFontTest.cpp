// The converter's glyphs and file lines from a small Hershey sample: scaling to the cap height
// with the glyph at x 0, the fixed cell of the courier style, the composed umlauts and degree
// sign, and the header the text reader looks for.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "HersheySample.h"
#include "fonts/CxfFont.h"

namespace {

using Strings = std::vector<std::string>;

fonts::CxfStyle normalStyle() { return {"normal", "rowmans.jhf", 9.0, 0.25, 0.4, std::nullopt}; }
fonts::CxfStyle courierStyle() { return {"courier", "rowmans.jhf", 9.0, 0.25, 6.0 / 9.0, 6.0}; }
fonts::CxfStyle scriptStyle() { return {"scriptc", "scriptc.jhf", 5.4, 0.0, 0.6, std::nullopt}; }

class CxfFont : public ::testing::Test {
 protected:
  // The stroke lines of one character's block in the file the style makes of the sample.
  static Strings block(const fonts::CxfStyle& style, const std::string& zeichen) {
    std::string error;
    const auto glyphs = fonts::cxfGlyphs(fonts::parseHershey(fontstest::hersheySample()), style, error);
    const Strings lines = fonts::cxfLines(glyphs, style);
    const auto head = std::find_if(lines.begin(), lines.end(),
                                   [&](const std::string& l) { return l.rfind("[" + zeichen + "] ", 0) == 0; });
    if (head == lines.end()) return {};
    const auto n = static_cast<std::ptrdiff_t>(std::stoi(head->substr(zeichen.size() + 3)));
    return Strings(head + 1, head + 1 + n);
  }

  static fonts::CxfGlyph glyph(const fonts::CxfStyle& style, const std::string& zeichen) {
    std::string error;
    for (const fonts::CxfGlyph& g : fonts::cxfGlyphs(fonts::parseHershey(fontstest::hersheySample()), style, error))
      if (g.zeichen == zeichen) return g;
    return {};
  }
};

// Roman Simplex 'H' spans x -7..7 and y -12..9 (y down, baseline 9): 21 units of cap height
// become 9 (or 5.4), the left stem moves to x 0.
TEST_F(CxfFont, ScalesToTheCapHeightFromTheLeftEndOfTheBaselineWithYUp) {
  EXPECT_EQ(block(normalStyle(), "H"), (Strings{"L 0,9,0,0", "L 6,9,6,0", "L 0,4.7143,6,4.7143"}));
  EXPECT_EQ(block(scriptStyle(), "H"), (Strings{"L 0,5.4,0,0", "L 3.6,5.4,3.6,0", "L 0,2.8286,3.6,2.8286"}));
  EXPECT_EQ(block(normalStyle(), "I"), (Strings{"L 0,9,0,0"}));
  // The blank has a block without strokes; the text reader never draws one.
  EXPECT_EQ(block(normalStyle(), " "), Strings{});
}

// The reader advances by a glyph's rightmost point: every courier glyph ends at the cell's right
// edge (6 units), a wider one condensed into the cell.
TEST_F(CxfFont, CourierGlyphsEndAtTheRightEdgeOfTheirCell) {
  EXPECT_EQ(block(courierStyle(), "I"), (Strings{"L 6,9,6,0"}));
  EXPECT_EQ(block(courierStyle(), "H"), (Strings{"L 0,9,0,0", "L 6,9,6,0", "L 0,4.7143,6,4.7143"}));
  EXPECT_EQ(block(courierStyle(), "M"), (Strings{"L 0,9,0,0", "L 0,9,3,0", "L 6,9,3,0", "L 6,9,6,0"}));
}

// 'A' spans x -8..8; its dots are copies of the full stop (a diamond of 2 units round its centre)
// 3.52 units either side of the apex, centred 4 units above the cap height.
TEST_F(CxfFont, UmlautsAreTheBaseLetterWithTwoFullStopsAbove) {
  const fonts::CxfGlyph a = glyph(normalStyle(), "Ä");
  ASSERT_EQ(a.strokes.size(), 3u + 4u + 4u);
  const double f = 9.0 / 21.0;
  for (std::size_t k = 3; k < a.strokes.size(); ++k) {
    const auto& s = a.strokes[k];
    for (double y : {s.v[1], s.v[3]}) EXPECT_NEAR(y, 25.0 * f, 1.0 * f + 1e-9) << k;
    const double centre = k < 7 ? (8.0 - 3.52) * f : (8.0 + 3.52) * f;
    for (double x : {s.v[0], s.v[2]}) EXPECT_NEAR(x, centre, 1.0 * f + 1e-9) << k;
  }
  // Small letters take their dots at the height of the dot over the 'i' (centred at Hershey y -12,
  // which is 9 units up).
  const fonts::CxfGlyph small = glyph(normalStyle(), "ä");
  ASSERT_EQ(small.strokes.size(), 1u + 4u + 4u);
  double low = 100.0;
  double high = -100.0;
  for (std::size_t k = 1; k < small.strokes.size(); ++k) {
    low = std::min({low, small.strokes[k].v[1], small.strokes[k].v[3]});
    high = std::max({high, small.strokes[k].v[1], small.strokes[k].v[3]});
  }
  EXPECT_NEAR((low + high) / 2.0, 9.0, 1e-9);
}

TEST_F(CxfFont, TheDegreeSignIsARingUnderTheCapHeight) {
  EXPECT_EQ(block(normalStyle(), "°"), (Strings{"A 1.7143,7.2857,1.7143,0,360"}));
}

TEST_F(CxfFont, TheFileHasTheNameAndDimensionsLinesTheAcknowledgementsAndABlockPerCharacter) {
  std::string error;
  const auto glyphs = fonts::cxfGlyphs(fonts::parseHershey(fontstest::hersheySample()), courierStyle(), error);
  const Strings lines = fonts::cxfLines(glyphs, courierStyle());
  ASSERT_GT(lines.size(), 20u);
  EXPECT_EQ(lines[3], "# Name: courier");
  EXPECT_EQ(lines[4], "# Dimensions: 0.25 0.6667 9");
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(lines[i][0], '#') << i;
  const auto firstBlock = std::find(lines.begin(), lines.end(), "[ ] 0");
  ASSERT_NE(firstBlock, lines.end());
  for (auto it = lines.begin() + 5; it != firstBlock; ++it) EXPECT_EQ((*it)[0], '#');
  for (const std::string& ack : fonts::hersheyAcknowledgements())
    EXPECT_NE(std::find(lines.begin(), firstBlock, "# " + ack), firstBlock) << ack;

  Strings heads;
  for (const std::string& line : lines)
    if (line[0] == '[') heads.push_back(line.substr(0, line.rfind("] ") + 1));
  Strings expected;
  for (const std::string& c : fonts::cxfCharacters()) expected.push_back("[" + c + "]");
  EXPECT_EQ(heads, expected);
  EXPECT_EQ(expected.size(), 95u + 7u);
}

TEST_F(CxfFont, AFontWithoutEveryPrintableCharacterIsRefused) {
  std::string text = fontstest::hersheySample();
  text.erase(text.rfind("12345"));
  std::string error;
  EXPECT_TRUE(fonts::cxfGlyphs(fonts::parseHershey(text), normalStyle(), error).empty());
  EXPECT_EQ(error, "the font has 94 glyphs, the printable ASCII characters need 95");
}

}  // namespace
