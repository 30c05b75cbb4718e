// The converter's glyphs and file lines from a small Hershey sample: scaling to the cap height
// with the glyph at x 0, the fixed cell of the courier style, the composed umlauts and degree
// sign, the further characters of a German panel (borrowed from other fonts or composed), and
// the header the text reader looks for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "HersheySample.h"
#include "fonts/CxfFont.h"

namespace {

using Strings = std::vector<std::string>;

const std::vector<fonts::CxfBorrowed> kBorrowed = {
    {"µ", "greeks.jhf", 'l'}, {"±", "mathlow.jhf", '!'}, {"§", "symbolic.jhf", 'i'}, {"×", "mathlow.jhf", '#'}};

fonts::CxfStyle normalStyle() { return {"normal", "rowmans.jhf", 9.0, 0.25, 0.4, std::nullopt, 0.0, false, kBorrowed}; }
fonts::CxfStyle courierStyle() { return {"courier", "rowmans.jhf", 9.0, 0.25, 6.0 / 9.0, 6.0, 0.0, false, kBorrowed}; }
fonts::CxfStyle scriptStyle() {
  return {"scriptc", "scriptc.jhf", 5.4, 0.0, 0.6, std::nullopt, 1.0 / 3.0, true, kBorrowed};
}

// The sample for every font a style reads; the mathematical one with the real plus-minus and
// multiplication signs.
fonts::HersheyFonts sources() {
  const fonts::HersheyFont sample = fonts::parseHershey(fontstest::hersheySample());
  const fonts::HersheyFont math =
      fonts::parseHershey(fontstest::hersheySample({{'!', "  9F^RJR[ RJRZR RJ[Z["}, {'#', "  6G]KKYY RYKKY"}}));
  return {{"rowmans.jhf", sample},
          {"scriptc.jhf", sample},
          {"greeks.jhf", sample},
          {"symbolic.jhf", sample},
          {"mathlow.jhf", math}};
}

class CxfFont : public ::testing::Test {
 protected:
  // The stroke lines of one character's block in the file the style makes of the sample.
  static Strings block(const fonts::CxfStyle& style, const std::string& zeichen) {
    std::string error;
    const auto glyphs = fonts::cxfGlyphs(sources(), style, error);
    const Strings lines = fonts::cxfLines(glyphs, style);
    const auto head = std::find_if(lines.begin(), lines.end(),
                                   [&](const std::string& l) { return l.rfind("[" + zeichen + "] ", 0) == 0; });
    if (head == lines.end()) return {};
    const auto n = static_cast<std::ptrdiff_t>(std::stoi(head->substr(zeichen.size() + 3)));
    return Strings(head + 1, head + 1 + n);
  }

  static fonts::CxfGlyph glyph(const fonts::CxfStyle& style, const std::string& zeichen) {
    std::string error;
    for (const fonts::CxfGlyph& g : fonts::cxfGlyphs(sources(), style, error))
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

// Every courier glyph sits in the middle of its cell (6 units), a wider one condensed into it.
TEST_F(CxfFont, CourierGlyphsAreCentredInTheirCell) {
  EXPECT_EQ(block(courierStyle(), "I"), (Strings{"L 3,9,3,0"}));
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

// Plus-minus and multiplication signs come from the mathematical font as they are there: the
// plus-minus spans x -8..8 and y -8..9 (17 of the 21 units of cap height).
TEST_F(CxfFont, BorrowedGlyphsAreTakenFromTheirFontAtTheSameScale) {
  EXPECT_EQ(block(normalStyle(), "±"),
            (Strings{"L 3.4286,7.2857,3.4286,0", "L 0,3.8571,6.8571,3.8571", "L 0,0,6.8571,0"}));
  EXPECT_EQ(block(normalStyle(), "×"), (Strings{"L 0,6.8571,6,0.8571", "L 6,6.8571,0,0.8571"}));
}

// The sample's digits are bars of the cap height: a superscript is one at 0.6 of it, its top on
// the cap height.
TEST_F(CxfFont, SuperscriptsAreTheDigitsAtThreeFifthsWithTheirTopOnTheCapHeight) {
  EXPECT_EQ(block(normalStyle(), "²"), (Strings{"L 0,9,0,3.6"}));
  EXPECT_EQ(block(scriptStyle(), "³"), (Strings{"L 0,5.4,0,2.16"}));
}

// Roman Simplex 'O' spans x -8..8: the slash runs through its middle from a unit below the
// baseline to the cap height, 0.45 of its height to either side, so the glyph starts 1.9 units
// further left.
TEST_F(CxfFont, TheSlashedOIsTheLetterStruckThroughUpToTheCapHeight) {
  const Strings o = block(normalStyle(), "O");
  const Strings slashed = block(normalStyle(), "Ø");
  ASSERT_EQ(slashed.size(), o.size() + 1);
  EXPECT_EQ(slashed.front(), "L 3.3857,9,2.5286,8.5714");
  EXPECT_EQ(slashed.back(), "L 0,-0.4286,8.4857,9");
}

// Roman Simplex '0' spans x -7..7 and y -12..9: the euro sign is it opened on the right, with two
// bars 2.5 units above and below its middle from 3 units left of it (its left side is at -6.8
// there, so the glyph starts at -9.8) across most of its inside.
TEST_F(CxfFont, TheEuroSignIsTheZeroOpenOnTheRightWithTwoBars) {
  const fonts::CxfGlyph euro = glyph(normalStyle(), "€");
  ASSERT_GE(euro.strokes.size(), 3u);
  const double f = 9.0 / 21.0;
  const double middleX = 9.8 * f;
  const double middleY = (9.0 + 1.5) * f;
  int bars = 0;
  for (const fonts::CxfStroke& s : euro.strokes) {
    const double x1 = s.v[0], y1 = s.v[1], x2 = s.v[2], y2 = s.v[3];
    // The zero's own flat top and bottom are no bars.
    if (y1 == y2 && y1 > 0.0 && y1 < 9.0) {
      ++bars;
      EXPECT_NEAR(std::fabs(y1 - middleY), 2.5 * f, 1e-4);
      EXPECT_NEAR(std::min(x1, x2), 0.0, 1e-9);
      continue;
    }
    // Nothing of the body crosses the height of its middle right of the middle.
    if ((y1 - middleY) * (y2 - middleY) <= 0.0) {
      EXPECT_LT(x1 + (x2 - x1) * (middleY - y1) / (y2 - y1), middleX);
    }
  }
  EXPECT_EQ(bars, 2);
}

// The sharp s is drawn here: from the baseline to the cap height, from x 0; the script leans it
// to the right and doubles its stem.
TEST_F(CxfFont, TheSharpSStandsOnTheBaselineUpToTheCapHeightAndLeansWithTheScript) {
  for (const fonts::CxfStyle& style : {normalStyle(), scriptStyle()}) {
    const fonts::CxfGlyph s = glyph(style, "ß");
    double minX = 100.0, maxX = -100.0, minY = 100.0, maxY = -100.0;
    for (const fonts::CxfStroke& k : s.strokes) {
      minX = std::min({minX, k.v[0], k.v[2]});
      maxX = std::max({maxX, k.v[0], k.v[2]});
      minY = std::min({minY, k.v[1], k.v[3]});
      maxY = std::max({maxY, k.v[1], k.v[3]});
    }
    EXPECT_NEAR(minX, 0.0, 1e-9) << style.name;
    EXPECT_NEAR(minY, 0.0, 1e-9) << style.name;
    EXPECT_NEAR(maxY, style.versalhoehe, 1e-9) << style.name;
    // The stem's foot and its top.
    const fonts::CxfStroke& foot = s.strokes.front();
    if (style.slant > 0.0) {
      EXPECT_LT(foot.v[0], foot.v[2]) << style.name;
    } else {
      EXPECT_EQ(foot.v[0], foot.v[2]) << style.name;
    }
  }
  EXPECT_GT(glyph(scriptStyle(), "ß").strokes.size(), glyph(normalStyle(), "ß").strokes.size());
}

TEST_F(CxfFont, TheFileHasTheNameAndDimensionsLinesTheAcknowledgementsAndABlockPerCharacter) {
  std::string error;
  const auto glyphs = fonts::cxfGlyphs(sources(), courierStyle(), error);
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
  EXPECT_EQ(expected.size(), 95u + 7u + 10u);
}

TEST_F(CxfFont, AStyleWhoseFontsAreMissingOrIncompleteIsRefused) {
  std::string text = fontstest::hersheySample();
  text.erase(text.rfind("12345"));
  fonts::HersheyFonts fonts = sources();
  fonts["greeks.jhf"] = fonts::parseHershey(text);
  std::string error;
  EXPECT_TRUE(fonts::cxfGlyphs(fonts, normalStyle(), error).empty());
  EXPECT_EQ(error, "greeks.jhf has 94 glyphs, the printable ASCII characters need 95");

  fonts.erase("greeks.jhf");
  EXPECT_TRUE(fonts::cxfGlyphs(fonts, normalStyle(), error).empty());
  EXPECT_EQ(error, "greeks.jhf is not given");

  fonts::CxfStyle style = normalStyle();
  style.borrowed.erase(style.borrowed.begin());
  EXPECT_TRUE(fonts::cxfGlyphs(sources(), style, error).empty());
  EXPECT_EQ(error, "the style names no font for µ");
}

}  // namespace
