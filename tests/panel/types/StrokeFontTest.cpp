// The stroke-font reader: the header and when it applies, glyph blocks, what makes a file
// malformed, where fonts are looked for, and the fonts the build makes from the Hershey fonts.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "FontFolder.h"
#include "TraceLogFolder.h"
#include "panel/types/FontCache.h"
#include "panel/types/StrokeFont.h"
#include "panel/types/TextLayout.h"
#include "platform/TextCodec.h"

namespace {

using panel::FontStatus;
using Strings = std::vector<std::string>;

class StrokeFont : public paneltest::TraceLogFolder {};

TEST_F(StrokeFont, TheHeaderGivesTheNameInLowerCaseAndTheTwoSpacingFactors) {
  const panel::FontLoad load = panel::parseStrokeFont(paneltest::fontFile("  Normal ", "0.3  1,5 9", {}));
  ASSERT_EQ(load.status, FontStatus::Ok);
  EXPECT_TRUE(load.font.kopfForm);
  EXPECT_EQ(load.font.name, "normal.cxf");
  EXPECT_DOUBLE_EQ(load.font.buchstabenFaktor, 0.3);
  EXPECT_DOUBLE_EQ(load.font.wortFaktor, 1.5);
  EXPECT_TRUE(load.font.kopfGilt("normal.cxf"));
  EXPECT_FALSE(load.font.kopfGilt("Normal.cxf"));
}

struct HeaderCase {
  const char* name;
  Strings lines;
  friend std::ostream& operator<<(std::ostream& os, const HeaderCase& c) { return os << c.name; }
};

class HeaderWithoutForm : public ::testing::TestWithParam<HeaderCase> {};

// The font is still read; only its header does not apply.
TEST_P(HeaderWithoutForm, DoesNotApply) {
  const panel::FontLoad load = panel::parseStrokeFont(GetParam().lines);
  ASSERT_EQ(load.status, FontStatus::Ok);
  EXPECT_FALSE(load.font.kopfForm);
  EXPECT_FALSE(load.font.kopfGilt("x.cxf"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HeaderWithoutForm,
    ::testing::Values(HeaderCase{"NameInLowerCase", {"", "", "", "# name: x", "# Dimensions: 1 2 3"}},
                      HeaderCase{"NoColon", {"", "", "", "# Name x", "# Dimensions: 1 2 3"}},
                      HeaderCase{"TwoWords", {"", "", "", "# Name: x", "# Dimensions: 1 2"}},
                      HeaderCase{"WordOfTwelveCharacters", {"", "", "", "# Name: x", "# Dimensions: 1 2 123456789012"}},
                      HeaderCase{"DimensionsMisspelt", {"", "", "", "# Name: x", "# Dimension: 1 2 3"}},
                      HeaderCase{"NoNameLineButFourLines", {"", "", "", "[A] 0"}}),
    [](const ::testing::TestParamInfo<HeaderCase>& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(StrokeFont, GlyphBlocksHoldTheirStrokesAndTheFirstBlockOfACharacterCounts) {
  const panel::FontLoad load =
      panel::parseStrokeFont(paneltest::fontFile("t", "1 1 1",
                                                 {"[A] 3", "L 0,0,3, 9", "A 1.5,2,1,270,90", "X anything", "[A] 1",
                                                  "L 9,9,9,9", "[]] 1", "L1e1,.5,-2,+3", "[ä] 0", "[B]x 0"}));
  ASSERT_EQ(load.status, FontStatus::Ok);
  const auto& zeichen = load.font.zeichen;
  ASSERT_EQ(zeichen.size(), 4u);
  const panel::Glyph& a = zeichen.at("A");
  ASSERT_EQ(a.size(), 3u);
  EXPECT_EQ(a[0].kind, panel::FontStroke::Kind::Line);
  EXPECT_DOUBLE_EQ(a[0].v[3], 9.0);
  // An end angle below the start angle goes once more round.
  EXPECT_EQ(a[1].kind, panel::FontStroke::Kind::Arc);
  EXPECT_DOUBLE_EQ(a[1].v[4], 450.0);
  EXPECT_EQ(a[2].kind, panel::FontStroke::Kind::Other);
  const panel::Glyph& bracket = zeichen.at("]");
  EXPECT_DOUBLE_EQ(bracket[0].v[0], 10.0);
  EXPECT_DOUBLE_EQ(bracket[0].v[1], 0.5);
  EXPECT_DOUBLE_EQ(bracket[0].v[3], 3.0);
  EXPECT_TRUE(zeichen.at("ä").empty());
  // The fourth character of a block's first line is skipped whatever it is.
  EXPECT_TRUE(zeichen.at("B").empty());
}

struct MalformedCase {
  const char* name;
  Strings glyphs;
  friend std::ostream& operator<<(std::ostream& os, const MalformedCase& c) { return os << c.name; }
};

class MalformedFont : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedFont, IsRefusedWhole) {
  EXPECT_EQ(panel::parseStrokeFont(paneltest::fontFile("t", "1 1 1", GetParam().glyphs)).status, FontStatus::Malformed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedFont,
    ::testing::Values(MalformedCase{"CountNoNumber", {"[A] zwei", "L 0,0,1,1"}}, MalformedCase{"CountMissing", {"[A]"}},
                      MalformedCase{"CountNegative", {"[A] -1"}},
                      MalformedCase{"CountPastTheEnd", {"[A] 3", "L 0,0,1,1", "L 1,1,2,2"}},
                      MalformedCase{"CountPastTheEndOfAnUnusedGlyph", {"[A] 1", "L 0,0,1,1", "[Z] 9"}},
                      MalformedCase{"LineOfThreeNumbers", {"[A] 1", "L 0,0,1"}},
                      MalformedCase{"BlankBeforeComma", {"[A] 1", "L 0 ,0,1,1"}},
                      MalformedCase{"NotANumber", {"[A] 1", "L nan,0,1,1"}},
                      MalformedCase{"Infinite", {"[A] 1", "L inf,0,1,1"}},
                      MalformedCase{"BeyondTheCoordinateLimit", {"[A] 1", "L 10001,0,1,1"}},
                      MalformedCase{"ArcOfFourNumbers", {"[A] 1", "A 0,0,1,0"}},
                      MalformedCase{"GlyphOfTooManyPoints", {"[A] 2", "A 0,0,1,-9999,9999", "A 0,0,1,0,360"}}),
    [](const ::testing::TestParamInfo<MalformedCase>& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(StrokeFont, AFileTooShortForItsHeaderIsMalformed) {
  EXPECT_EQ(panel::parseStrokeFont({"", "", ""}).status, FontStatus::Malformed);
  EXPECT_EQ(panel::parseStrokeFont({"", "", "", "# Name: x"}).status, FontStatus::Malformed);
  EXPECT_EQ(panel::parseStrokeFont({"", "", "", "# no header"}).status, FontStatus::Ok);
}

TEST_F(StrokeFont, IsReadFromTheProgramFolderAsWindows1252) {
  paneltest::writeFont("mine.cxf", paneltest::fontFile("Mine", "0 0 0", {"[Ö] 1", "L 0,0,1,1"}));
  const panel::FontLoad load = panel::loadStrokeFont("mine.cxf");
  ASSERT_EQ(load.status, FontStatus::Ok);
  EXPECT_TRUE(load.font.kopfGilt("mine.cxf"));
  EXPECT_EQ(load.font.zeichen.count("Ö"), 1u);
}

TEST_F(StrokeFont, ANameThatIsNoPlainFileNameOrNoFileIsMissing) {
  paneltest::writeFont("mine.cxf", paneltest::fontFile("mine", "0 0 0", {}));
  for (const char* name : {"", ".", "..", "../mine.cxf", "sub/mine.cxf", "sub\\mine.cxf", "fehlt.cxf"}) {
    EXPECT_TRUE(panel::strokeFontPath(name).empty()) << name;
    EXPECT_EQ(panel::loadStrokeFont(name).status, FontStatus::Missing) << name;
  }
  std::filesystem::create_directory(platform::programFolder() / "ordner.cxf");
  EXPECT_EQ(panel::loadStrokeFont("ordner.cxf").status, FontStatus::Unreadable);
}

struct LookupCase {
  const char* name;
  Strings dateien;  // in the program folder
  const char* schriftname;
  const char* gefunden;  // empty: none
  friend std::ostream& operator<<(std::ostream& os, const LookupCase& c) { return os << c.name; }
};

class FontLookup : public StrokeFont, public ::testing::WithParamInterface<LookupCase> {};

// Documents made where file names ignore case name their fonts in any case: a file of exactly
// the name comes first, else one whose name differs only in case (of several, the first in byte
// order, whatever order the folder lists them in).
TEST_P(FontLookup, FindsTheFileWhateverTheLetterCasePreferringTheExactName) {
  for (const std::string& datei : GetParam().dateien)
    paneltest::writeFont(datei, paneltest::fontFile("x", "0 0 0", {"[" + datei.substr(0, 1) + "] 1", "L 0,0,1,1"}));
  const std::filesystem::path path = panel::strokeFontPath(GetParam().schriftname);
  EXPECT_EQ(path.filename().string(), GetParam().gefunden);
  const panel::FontLoad load = panel::loadStrokeFont(GetParam().schriftname);
  EXPECT_EQ(load.status, std::string(GetParam().gefunden).empty() ? FontStatus::Missing : FontStatus::Ok);
  if (load.status == FontStatus::Ok) {
    EXPECT_EQ(load.font.zeichen.count(std::string(GetParam().gefunden, 1)), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FontLookup,
    ::testing::Values(LookupCase{"CapitalFirst", {"normal.cxf"}, "Normal.cxf", "normal.cxf"},
                      LookupCase{"AllCapitals", {"normal.cxf"}, "NORMAL.CXF", "normal.cxf"},
                      LookupCase{"FileInCapitals", {"SCRIPTC.CXF"}, "scriptc.cxf", "SCRIPTC.CXF"},
                      LookupCase{"Umlauts", {"schrift-ä.cxf"}, "SCHRIFT-Ä.CXF", "schrift-ä.cxf"},
                      LookupCase{"ExactNameFirst", {"normal.cxf", "Normal.cxf"}, "Normal.cxf", "Normal.cxf"},
                      LookupCase{"ExactLowerCaseFirst", {"Normal.cxf", "normal.cxf"}, "normal.cxf", "normal.cxf"},
                      LookupCase{
                          "OfSeveralTheFirstInByteOrder", {"normal.cxf", "Normal.cxf"}, "NORMAL.CXF", "Normal.cxf"},
                      LookupCase{"OnlyTheCaseMayDiffer", {"normal.cxf"}, "normal.cx", ""},
                      LookupCase{"NoPlainFileNameInAnyCase", {"normal.cxf"}, "../NORMAL.CXF", ""}),
    [](const ::testing::TestParamInfo<LookupCase>& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(StrokeFont, AFileBeyondTheSizeLimitIsNotReadAtAll) {
  paneltest::writeFont("gross.cxf", {std::string(panel::kSchriftMaxBytes, '#')});
  EXPECT_EQ(panel::loadStrokeFont("gross.cxf").status, FontStatus::Malformed);
}

TEST_F(StrokeFont, TheCacheReadsAFileOncePerVersion) {
  paneltest::writeFont("mine.cxf", paneltest::fontFile("Mine", "0 0 0", {"[A] 1", "L 0,0,1,1"}));
  const auto first = panel::sharedStrokeFont("mine.cxf");
  ASSERT_EQ(first->status, FontStatus::Ok);
  EXPECT_EQ(panel::sharedStrokeFont("mine.cxf"), first);
  // A new version (written to the side and renamed over it, as every file is saved) is read.
  paneltest::writeFont("mine.cxf", paneltest::fontFile("Mine", "0 0 0", {"[B] 1", "L 0,0,1,1"}));
  const auto second = panel::sharedStrokeFont("mine.cxf");
  EXPECT_NE(second, first);
  EXPECT_EQ(second->font.zeichen.count("B"), 1u);
  EXPECT_EQ(first->font.zeichen.count("A"), 1u);
  // Gone, or not a file: as the reader says, and nothing kept.
  std::filesystem::remove(platform::programFolder() / "mine.cxf");
  EXPECT_EQ(panel::sharedStrokeFont("mine.cxf")->status, FontStatus::Missing);
  std::filesystem::create_directory(platform::programFolder() / "mine.cxf");
  EXPECT_EQ(panel::sharedStrokeFont("mine.cxf")->status, FontStatus::Unreadable);
}

// The fonts the build makes beside the program, read back as a TEXT row reads them.
class BuiltFonts : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    previous_ = platform::programFolder();
    platform::setProgramFolder(VELTRIS_FONT_DIR);
  }
  void TearDown() override { platform::setProgramFolder(previous_); }

 private:
  std::filesystem::path previous_;
};

// The further characters of a German front panel, each a Windows-1252 character.
const Strings kPanelZeichen = {"ß", "µ", "±", "Ø", "ø", "²", "³", "§", "€", "×"};

struct Bounds {
  double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
};

// The box of every point a glyph is cut through, in font units.
Bounds boundsOf(const panel::Glyph& glyph) {
  Bounds b;
  const panel::TextMetrik units{1.0, 0.0, 0.0};
  for (const panel::FontStroke& stroke : glyph) {
    double advance = 0.0;
    for (const panel::MmPoint& p : panel::Text_Strich(stroke, units, 0.0, 0.0, advance)) {
      b.minX = std::min(b.minX, p.x);
      b.maxX = std::max(b.maxX, p.x);
      b.minY = std::min(b.minY, p.y);
      b.maxY = std::max(b.maxY, p.y);
    }
  }
  return b;
}

TEST_P(BuiltFonts, HaveTheirHeaderAndAGlyphForEveryPrintableCharacterUmlautAndDegree) {
  const panel::FontLoad load = panel::loadStrokeFont(GetParam());
  ASSERT_EQ(load.status, FontStatus::Ok);
  EXPECT_TRUE(load.font.kopfGilt(GetParam()));
  Strings zeichen = {"ä", "ö", "ü", "Ä", "Ö", "Ü", "°"};
  zeichen.insert(zeichen.end(), kPanelZeichen.begin(), kPanelZeichen.end());
  for (char c = ' '; c <= '~'; ++c) zeichen.emplace_back(1, c);
  for (const std::string& z : zeichen) {
    ASSERT_EQ(load.font.zeichen.count(z), 1u) << z;
    if (z != " ") {
      EXPECT_FALSE(load.font.zeichen.at(z).empty()) << z;
    }
  }
}

// No higher than the capitals, no lower than the font's lowest descender, from x 0 and no wider
// than its widest glyph (a courier glyph no wider than its cell).
TEST_P(BuiltFonts, DrawTheFurtherCharactersWithinTheCapHeightAndTheWidthOfTheFont) {
  const panel::FontLoad load = panel::loadStrokeFont(GetParam());
  ASSERT_EQ(load.status, FontStatus::Ok);
  const std::string name = GetParam();
  const double versal = name == "scriptc.cxf" ? 5.4 : 9.0;
  double widest = 0.0;
  double lowest = 0.0;
  for (char c = '!'; c <= '~'; ++c) {
    const Bounds b = boundsOf(load.font.zeichen.at(std::string(1, c)));
    widest = std::max(widest, b.maxX);
    lowest = std::min(lowest, b.minY);
  }
  if (name == "courier.cxf") {
    EXPECT_NEAR(widest, 6.0, 1e-9);
  }
  for (const std::string& z : kPanelZeichen) {
    const Bounds b = boundsOf(load.font.zeichen.at(z));
    EXPECT_NEAR(b.minX, name == "courier.cxf" ? 6.0 - b.maxX : 0.0, 1e-3) << z;
    EXPECT_LE(b.maxX, widest + 1e-9) << z;
    EXPECT_LE(b.maxY, versal + 1e-9) << z;
    EXPECT_GE(b.minY, lowest - 1e-9) << z;
    EXPECT_GT(b.maxY - b.minY, versal / 4.0) << z;
  }
}

// A German panel's text finds a glyph for every character, so it is engraved whole and its
// redraw does not beep.
TEST_P(BuiltFonts, HoldEveryCharacterOfAGermanPanelText) {
  const panel::FontLoad load = panel::loadStrokeFont(GetParam());
  ASSERT_EQ(load.status, FontStatus::Ok);
  Strings fehlt;
  for (const std::string& z : platform::utf8Characters("Größe ± 0,5 µm Ø 3 Kühlung 25 °C ²³ § 10 € 2×"))
    if (z != " " && load.font.zeichen.count(z) == 0) fehlt.push_back(z);
  EXPECT_EQ(fehlt, Strings{});
}

// Fixed pitch: every courier glyph in the middle of its 6-unit cell.
TEST(BuiltFont, CourierCentresEveryGlyphInItsCell) {
  const std::filesystem::path previous = platform::programFolder();
  platform::setProgramFolder(VELTRIS_FONT_DIR);
  const panel::FontLoad load = panel::loadStrokeFont("courier.cxf");
  platform::setProgramFolder(previous);
  ASSERT_EQ(load.status, FontStatus::Ok);
  for (const auto& [zeichen, glyph] : load.font.zeichen) {
    if (glyph.empty()) continue;
    const Bounds b = boundsOf(glyph);
    EXPECT_NEAR(b.minX + b.maxX, 6.0, 1e-3) << zeichen;
    EXPECT_GE(b.minX, -1e-9) << zeichen;
  }
}

INSTANTIATE_TEST_SUITE_P(Fonts, BuiltFonts, ::testing::Values("normal.cxf", "courier.cxf", "scriptc.cxf"),
                         [](const ::testing::TestParamInfo<const char*>& caseInfo) {
                           return std::string(caseInfo.param).substr(0, std::string(caseInfo.param).find('.'));
                         });

TEST(BuiltFont, NormalHasTheRomanSimplexH) {
  const std::filesystem::path previous = platform::programFolder();
  platform::setProgramFolder(VELTRIS_FONT_DIR);
  const panel::FontLoad load = panel::loadStrokeFont("normal.cxf");
  platform::setProgramFolder(previous);
  ASSERT_EQ(load.status, FontStatus::Ok);
  const panel::Glyph& h = load.font.zeichen.at("H");
  ASSERT_EQ(h.size(), 3u);
  EXPECT_DOUBLE_EQ(h[1].v[0], 6.0);
  EXPECT_DOUBLE_EQ(h[1].v[1], 9.0);
  EXPECT_DOUBLE_EQ(h[2].v[1], 4.7143);
}

}  // namespace
