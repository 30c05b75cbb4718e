// The DIN/ISO reader: words and modes, arcs in chords, the hints and errors with their lines, and
// the bounds of its input.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "DinIsoText.h"
#include "formats/DinIsoReader.h"

namespace {

using formats::readDinIso;
using formatstest::elementTexts;

constexpr const char* kHint = " - Befehl ist noch nicht implementiert!";

struct ProgramCase {
  const char* name;
  std::string program;
  std::vector<std::string> elements;
  // Texts of the boxes, in order; the reading failed when the last is "Fehler beim Parsen".
  std::vector<std::string> boxes;
  friend std::ostream& operator<<(std::ostream& os, const ProgramCase& c) { return os << c.name; }
};

class Programs : public ::testing::TestWithParam<ProgramCase> {};

TEST_P(Programs, ReadAsTheDialectSays) {
  const formats::DinIsoReadResult r = readDinIso(GetParam().program, 0.0, 0.0);
  EXPECT_EQ(elementTexts(r.elements), GetParam().elements);
  std::vector<std::string> boxes;
  for (const auto& m : r.messages) boxes.push_back(m.text);
  EXPECT_EQ(boxes, GetParam().boxes);
  const bool failed = !boxes.empty() && boxes.back().starts_with("Fehler beim Parsen");
  EXPECT_EQ(r.failed, failed);
}

// The chords of a quarter circle of radius 10 round the origin, from `first` degrees on in steps
// of 10 (the step of a 10 mm radius), the end point excluded.
std::vector<std::string> chords(int first, int last, int step) {
  std::vector<std::string> out;
  for (int a = first; step > 0 ? a < last : a > last; a += step) {
    const double rad = a * 3.14159265358979323846 / 180.0;
    out.push_back("GO1 " + formatstest::xyz(10.0 * std::cos(rad), 10.0 * std::sin(rad), 0.0));
  }
  return out;
}

std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string>& b,
                              const std::vector<std::string>& c = {}) {
  a.insert(a.end(), b.begin(), b.end());
  a.insert(a.end(), c.begin(), c.end());
  return a;
}

INSTANTIATE_TEST_SUITE_P(
    Words, Programs,
    ::testing::Values(
        ProgramCase{"WithoutPercentNothing", "G01 X10\n", {}, {}},
        ProgramCase{"TextBeforePercentIgnored", "Fraeser 3 mm\n%\nG01 X10 Y5 Z-1\n", {"GO1 10.00 5.00 -1.00"}, {}},
        ProgramCase{"LowerCase", "%\ng01 x10 y5\n", {"GO1 10.00 5.00 0.00"}, {}},
        ProgramCase{"RapidBothWays", "%\nG00 X5 Y5\nG0 X6\n", {"GOO 5.00 5.00 0.00", "GOO 6.00 5.00 0.00"}, {}},
        ProgramCase{"FeedWithBlank", "%\nG1 X3\n", {"GO1 3.00 0.00 0.00"}, {}},
        ProgramCase{"CoordinatesWithoutGWordNothing", "%\nX10 Y5\n", {}, {}},
        ProgramCase{"FeedNotModal", "%\nG01 X10\nX20\n", {"GO1 10.00 0.00 0.00"}, {}},
        ProgramCase{"CoordinatesBeforeTheGWordReplaced", "%\nX10 G01 Y5\n", {"GO1 0.00 5.00 0.00"}, {}},
        ProgramCase{
            "Incremental", "%\nG91 G01 X10\nG01 X10 Y-2\n", {"GO1 10.00 0.00 0.00", "GO1 20.00 -2.00 0.00"}, {}},
        ProgramCase{"AbsoluteAgain", "%\nG91 G01 X10\nG90 G01 X3\n", {"GO1 10.00 0.00 0.00", "GO1 3.00 0.00 0.00"}, {}},
        ProgramCase{"Inch", "%\nG70 G01 X1 Z-0.5\n", {"GO1 25.40 0.00 -12.70"}, {}},
        ProgramCase{"MillimetresAgain",
                    "%\nG70\nG71 G01 X1\nG70\nG74 G01 X2\n",
                    {"GO1 1.00 0.00 0.00", "GO1 2.00 0.00 0.00"},
                    {}},
        ProgramCase{"CommaAsDecimalPoint", "%\nG01 X1,5 Y-.25\n", {"GO1 1.50 -0.25 0.00"}, {}},
        ProgramCase{"MWords", "%\nM03\nM06 M08 M09 M00 M01 M02 M04 M07 M16 M17\nM05\nM30\n", {"MO3", "M05", "M30"}, {}},
        ProgramCase{"MEndsTheMotion", "%\nG01 X5 M03\n", {"MO3"}, {}},
        ProgramCase{"FeedAndTool", "%\nF200 T1\nN10 S1000 G01 X1\n", {"F 200", "T 1", "GO1 1.00 0.00 0.00"}, {}},
        ProgramCase{
            "IgnoredGWords", "%\nG04 G09 G21 G40 G41 G42 G5A G6B G94 G95 G96 G17 G01 X1\n", {"GO1 1.00 0.00 0.00"}, {}},
        ProgramCase{"CrLfAndTabs", "%\r\nG01\tX4\r\n", {"GO1 4.00 0.00 0.00"}, {}},
        ProgramCase{"LastLineWithoutLineEnd", "%\nG01 X7", {"GO1 7.00 0.00 0.00"}, {}},
        ProgramCase{"CommentAcrossLines", "%\n(Kommentar\nueber Zeilen) G01 X2\n", {"GO1 2.00 0.00 0.00"}, {}},
        ProgramCase{"PercentLineEndsNoBlock", "%\nG01 X2 %\nG01 X3\n", {"GO1 3.00 0.00 0.00"}, {}},
        ProgramCase{
            "LongNumberWordRead", "%\nG01 X00000000000000000000000000000000012.5\n", {"GO1 12.50 0.00 0.00"}, {}},
        ProgramCase{"HugeValueHeld", "%\nG01 X99999999999999999999\n", {"GO1 1000000000.00 0.00 0.00"}, {}}));

INSTANTIATE_TEST_SUITE_P(
    Arcs, Programs,
    ::testing::Values(ProgramCase{"CounterClockwiseQuarter",
                                  "%\nG01 X10\nG03 X0 Y10 I-10 J0\n",
                                  join({"GO1 10.00 0.00 0.00"}, chords(10, 90, 10), {"GO1 0.00 10.00 0.00"}),
                                  {}},
                      ProgramCase{"ClockwiseQuarter",
                                  "%\nG01 X10\nG02 X0 Y-10 I-10 J0\n",
                                  join({"GO1 10.00 0.00 0.00"}, chords(350, 270, -10), {"GO1 0.00 -10.00 0.00"}),
                                  {}},
                      ProgramCase{"EndEqualsStartIsAFullCircle",
                                  "%\nG01 X10\nG03 X10 Y0 I-10\n",
                                  join({"GO1 10.00 0.00 0.00"}, chords(10, 360, 10), {"GO1 10.00 0.00 0.00"}),
                                  {}},
                      ProgramCase{"MissingRelativeOffsetIsZero",
                                  "%\nG01 X10\nG3 X-10 Y0 I-10\n",
                                  join({"GO1 10.00 0.00 0.00"}, chords(10, 180, 10), {"GO1 -10.00 0.00 0.00"}),
                                  {}},
                      ProgramCase{"OffsetsNotCarriedToTheNextBlock",
                                  "%\nG01 X10\nG03 X0 Y10 I-10\nG03 X-10 Y0 J-10\n",
                                  join(join({"GO1 10.00 0.00 0.00"}, chords(10, 90, 10), {"GO1 0.00 10.00 0.00"}),
                                       chords(100, 180, 10), {"GO1 -10.00 0.00 0.00"}),
                                  {}},
                      ProgramCase{"AbsoluteCentre",
                                  "%\nG161\nG01 X10\nG03 X0 Y10 I0 J0\n",
                                  join({"GO1 10.00 0.00 0.00"}, chords(10, 90, 10), {"GO1 0.00 10.00 0.00"}),
                                  {}},
                      ProgramCase{"OffsetsNeverIncremental",
                                  "%\nG91\nG01 X10\nG03 X-10 Y10 I-10 J0\n",
                                  join({"GO1 10.00 0.00 0.00"}, chords(10, 90, 10), {"GO1 0.00 10.00 0.00"}),
                                  {}},
                      ProgramCase{"OtherPlanesDropped",
                                  "%\nG18\nG01 X10\nG02 X0 Z10 I-10\nG19 G03 Y5 K1\n",
                                  {"GO1 10.00 0.00 0.00"},
                                  {}}));

INSTANTIATE_TEST_SUITE_P(
    HintsAndErrors, Programs,
    ::testing::Values(
        ProgramCase{"RapidWithoutBlank",
                    "%\nG01 X1\nG0X10\nG01 X5\n",
                    {"GO1 1.00 0.00 0.00"},
                    {std::string("|G0x| X10") + kHint + "\nZeile 3"}},
        ProgramCase{"InchWordOfOtherDialects", "%\nG20\n", {}, {std::string("|G2x| 0") + kHint + "\nZeile 2"}},
        ProgramCase{"ToolLengthWord",
                    "%\nG01 X1\nG49\n",
                    {"GO1 1.00 0.00 0.00"},
                    {std::string("|G4x| 9") + kHint + "\nZeile 3"}},
        ProgramCase{"OtherFirstDigit", "%\nG80\n", {}, {std::string("|Gx| 80") + kHint + "\nZeile 2"}},
        ProgramCase{"SpindleWithBlank", "%\nM3 S1000\n", {}, {std::string("|M3x|  S1000") + kHint + "\nZeile 2"}},
        ProgramCase{"UnknownMWord", "%\nM8\n", {}, {std::string("|M8| 8") + kHint + "\nZeile 2"}},
        ProgramCase{"SubprogramCall", "%\nL12\n", {}, {std::string("|L| ") + kHint + "\nZeile 2"}},
        ProgramCase{"AtWord", "%\n\n@1;rest\n", {}, {std::string("|@| @1") + kHint + "\nZeile 3"}},
        ProgramCase{"SemicolonComment",
                    "%\nG01 X1\n;Kommentar\n",
                    {},
                    {"DINISO_Parser() default: \n;Kommentar?\nZeile 3", "Fehler beim Parsen\nZeile 3"}},
        ProgramCase{"BlankBeforeTheValue",
                    "%\nG0 X -5\n",
                    {},
                    {"DINISO_Parser() default: \n-5?\nZeile 2", "Fehler beim Parsen\nZeile 2"}},
        ProgramCase{"NumberWordTooLong",
                    "%\nG01 X1\nG01 X000000000000000000000000000000000000012.5\n",
                    {},
                    {"Fehler beim Parsen\nZeile 3"}}));

// The arc keeps the z of its start and is cut in chords of the step its radius gives.
TEST(DinIsoArcs, KeepTheStartDepthAndStepByRadius) {
  const formats::DinIsoReadResult r = readDinIso("%\nG01 X10 Z-2\nG03 X0 Y10 Z-5 I-10\n", 0.0, 0.0);
  ASSERT_EQ(r.elements.size(), 10u);
  for (const auto& e : r.elements) EXPECT_DOUBLE_EQ(e.z, -2.0);
  // Radius 20: 8 degrees is the largest step under 3 mm.
  const formats::DinIsoReadResult wide = readDinIso("%\nG01 X20\nG03 X-20 Y0 I-20\n", 0.0, 0.0);
  EXPECT_EQ(wide.elements.size(), 1u + 23u);
  EXPECT_NEAR(wide.elements[1].x, 20.0 * std::cos(8.0 * 3.14159265358979323846 / 180.0), 1e-9);
}

TEST(DinIsoExtent, HoldsEveryPointAndTheOriginShifted) {
  const formats::DinIsoReadResult r = readDinIso("%\nG00 X10 Y20\nG01 X30 Y5\n", 100.0, -50.0);
  EXPECT_EQ(elementTexts(r.elements), (std::vector<std::string>{"GOO 110.00 -30.00 0.00", "GO1 130.00 -45.00 0.00"}));
  EXPECT_DOUBLE_EQ(r.xMin, 0.0);
  EXPECT_DOUBLE_EQ(r.xMax, 130.0);
  EXPECT_DOUBLE_EQ(r.yMin, -45.0);
  EXPECT_DOUBLE_EQ(r.yMax, 0.0);
  const formats::DinIsoReadResult empty = readDinIso("", 0.0, 0.0);
  EXPECT_TRUE(std::signbit(empty.xMax));
  EXPECT_TRUE(empty.elements.empty());
}

// A program of more elements than a list takes fails whole rather than being milled in part.
TEST(DinIsoBounds, AFullListFailsTheReading) {
  const formats::DinIsoReadResult r = readDinIso("%\nG01 X1\nG01 X2\nG01 X3\n", 0.0, 0.0, 2);
  EXPECT_TRUE(r.failed);
  EXPECT_TRUE(r.elements.empty());
  ASSERT_EQ(r.messages.size(), 2u);
  EXPECT_EQ(r.messages[0].text, "Das Programm hat mehr als 2 Wegelemente.\nZeile 4");
}

// Whatever the bytes, the reading ends: an open comment, a word cut off by the end of the file.
TEST(DinIsoBounds, EndsAtTheEndOfAnyInput) {
  for (const char* program : {"%\n(offen", "%\nG", "%\nG0", "%\nG16", "%\nM", "%\nM1", "%\nX", "%\nG01 X-", "%%%"}) {
    const formats::DinIsoReadResult r = readDinIso(program, 0.0, 0.0);
    EXPECT_LE(r.elements.size(), 1u) << program;
  }
}

}  // namespace
