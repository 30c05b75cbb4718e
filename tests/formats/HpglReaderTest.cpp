// The HPGL reader: the commands it takes and passes over, the scaling, the arcs and circles, the
// plots it refuses with their messages, and input that other readers choke on.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "ElementText.h"
#include "formats/HpglReader.h"

namespace {

using formats::HpglReadResult;
using formats::readHpgl;
using formatstest::elementTexts;
using Path = std::vector<std::string>;

struct PathCase {
  const char* name;
  std::string plot;
  Path path;
  friend std::ostream& operator<<(std::ostream& os, const PathCase& c) { return os << c.name; }
};

class HpglPaths : public ::testing::TestWithParam<PathCase> {};

TEST_P(HpglPaths, ReadAsPlottersDraw) {
  const HpglReadResult r = readHpgl(GetParam().plot, 0.0, 0.0);
  EXPECT_TRUE(r.complete);
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(elementTexts(r.elements), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(
    Plots, HpglPaths,
    ::testing::Values(
        PathCase{"PenUpAndDownIn40thsOfAMillimetre",
                 "IN;PU0,0;PD400,0,400,400;",
                 {"UP", "UP", "MOVETO 0.00 0.00", "DOWN", "LINETO 10.00 0.00", "LINETO 10.00 10.00", "UP"}},
        PathCase{"LowerCaseMnemonics",
                 "in;pu0,0;pd400,0;",
                 {"UP", "UP", "MOVETO 0.00 0.00", "DOWN", "LINETO 10.00 0.00", "UP"}},
        // PR adds each pair to the point before; PU after PR stays relative.
        PathCase{"RelativePairsChainAndStayRelative",
                 "IN;PU40,40;PR;PD40,0,0,40;PU-80,0;",
                 {"UP", "UP", "MOVETO 1.00 1.00", "DOWN", "LINETO 2.00 1.00", "LINETO 2.00 2.00", "UP",
                  "MOVETO 0.00 2.00", "UP"}},
        PathCase{"AbsolutePairsFollowThePen",
                 "IN;PA40,0;PD;PA80,0;PU;PA0,0;",
                 {"UP", "MOVETO 1.00 0.00", "DOWN", "LINETO 2.00 0.00", "UP", "MOVETO 0.00 0.00", "UP"}},
        // SC maps its window onto the scaling points, by default (0, 0) and (100, 100).
        PathCase{"UserWindow", "IN;SC0,10,0,20;PU10,20;", {"UP", "UP", "MOVETO 2.50 2.50", "UP"}},
        PathCase{"ScalingPointsAndUserWindow",
                 "IN;IP0,0,4000,4000;SC0,100,0,100;PD100,50;",
                 {"UP", "DOWN", "LINETO 100.00 50.00", "UP"}},
        // P1 alone takes P2 along: the plot is shifted, neither mirrored nor squeezed.
        PathCase{"ScalingPointP1AloneShifts", "IN;IP400,800;PU10,10;", {"UP", "UP", "MOVETO 10.25 20.25", "UP"}},
        // After both points, P1 alone keeps P2 at its distance: P2 goes from (4000, 2000) to
        // (5000, 3000), not back to 100 units from P1.
        PathCase{"ScalingPointP1AloneAfterBothKeepsTheDistance",
                 "IN;IP0,0,4000,2000;IP1000,1000;PU0,0,100,100;",
                 {"UP", "UP", "MOVETO 25.00 25.00", "MOVETO 125.00 75.00", "UP"}},
        // IP without values is the default (0, 0) and (100, 100) again, whatever came before.
        PathCase{"ScalingPointsWithoutValuesAreTheDefault",
                 "IN;IP1000,1000,5000,3000;IP;PU100,100;",
                 {"UP", "UP", "MOVETO 2.50 2.50", "UP"}},
        // A window without width keeps the default in that axis instead of dividing by zero.
        PathCase{"UserWindowWithoutWidth", "IN;SC5,5,0,10;PU40,5;", {"UP", "UP", "MOVETO 1.00 1.25", "UP"}},
        PathCase{"Pens", "IN;SP2;PU0,0;SP;", {"UP", "STIFT 2", "UP", "MOVETO 0.00 0.00", "STIFT 0", "UP"}},
        PathCase{"SkippedCommandsWithAndWithoutParameters",
                 "IN;PU0,0;LT;PD40,0;LT2,3;VS36;PD80,0;PW0.4\nEC;PG;",
                 {"UP", "UP", "MOVETO 0.00 0.00", "DOWN", "LINETO 1.00 0.00", "DOWN", "LINETO 2.00 0.00", "UP"}},
        // A skipped command's parameters go on past a line end up to its ';'; a list without one
        // still ends at the next command, whatever its case.
        PathCase{"SkippedCommandsEndAtTheirTerminator",
                 "IN;PU0,0;LT1,\n2;PD40,0;LT1,\r\n 2\npd80,0;VS36\n;PU0,0;",
                 {"UP", "UP", "MOVETO 0.00 0.00", "DOWN", "LINETO 1.00 0.00", "DOWN", "LINETO 2.00 0.00", "UP",
                  "MOVETO 0.00 0.00", "UP"}},
        // A label's text is no command, whatever it holds; the ';' after its terminator is its own.
        PathCase{"LabelUpToItsTerminator",
                 "IN;PU0,0;LBPD400,400;\x03;PD40,0;",
                 {"UP", "UP", "MOVETO 0.00 0.00", "DOWN", "LINETO 1.00 0.00", "UP"}},
        PathCase{"LabelTerminatorSetByDT", "IN;DT*;LBPA99,99*PU40,0;", {"UP", "UP", "MOVETO 1.00 0.00", "UP"}},
        PathCase{"CommentWithItsQuotedText", "IN;CO\"PD400,400;\";PU40,0;", {"UP", "UP", "MOVETO 1.00 0.00", "UP"}},
        // Plot writers wrap long coordinate lists and leave out the ';'.
        PathCase{"LineEndsSeparateAndNoTerminators",
                 "IN\r\nPU0,0\nPD400,0\n400,400\nPU",
                 {"UP", "UP", "MOVETO 0.00 0.00", "DOWN", "LINETO 10.00 0.00", "LINETO 10.00 10.00", "UP", "UP"}},
        PathCase{"NoSeparatorsAtAll",
                 "INPU0,0PD400,0PA",
                 {"UP", "UP", "MOVETO 0.00 0.00", "DOWN", "LINETO 10.00 0.00", "UP"}},
        PathCase{"BlanksAroundValuesAndCommands",
                 "IN; PU 40 , 0 ; PD 80,0 ;",
                 {"UP", "UP", "MOVETO 1.00 0.00", "DOWN", "LINETO 2.00 0.00", "UP"}},
        PathCase{"EmptyFieldsAreNoValues", "IN;PA40,,0;", {"UP", "MOVETO 1.00 0.00", "UP"}},
        PathCase{"LoneXIsDropped", "IN;PU40,40,80;", {"UP", "UP", "MOVETO 1.00 1.00", "UP"}},
        // Fractions are cut to their integer part; numbers of any length read, and saturate.
        PathCase{"FractionsAndLongNumbers",
                 "IN;PU40.9,-0.5;PD0000000000000000000000000000000000000040,12345678901234567890;",
                 {"UP", "UP", "MOVETO 1.00 0.00", "DOWN", "LINETO 1.00 25000000.00", "UP"}},
        // Scaling that stretches a value beyond 25 km of plotter units is held there.
        PathCase{"ScaledFarBeyondIsHeld",
                 "IN;IP0,0,1000000000,1000000000;SC0,1,0,1;PU1000,-1000;",
                 {"UP", "UP", "MOVETO 25000000.00 -25000000.00", "UP"}},
        PathCase{"DeviceControlBeforeIn",
                 "\x1b.(;\x1b.I81;;17:\x1b.N;19:IN;PU40,0;",
                 {"UP", "UP", "MOVETO 1.00 0.00", "UP"}},
        PathCase{"ASecondInIsPassedOver",
                 "IN;PU40,0;IN;PD80,0;",
                 {"UP", "UP", "MOVETO 1.00 0.00", "DOWN", "LINETO 2.00 0.00", "UP"}}),
    [](const ::testing::TestParamInfo<PathCase>& p) { return std::string(p.param.name); });

TEST(HpglReader, ExtentsHoldTheOriginAndEveryPointIsShifted) {
  const HpglReadResult r = readHpgl("IN;PU-400,800;PD1200,400;", 20.0, 30.0);
  EXPECT_EQ(elementTexts(r.elements), (Path{"UP", "UP", "MOVETO 10.00 50.00", "DOWN", "LINETO 50.00 40.00", "UP"}));
  EXPECT_EQ(r.xMin, -400);
  EXPECT_EQ(r.yMin, 0);
  EXPECT_EQ(r.xMax, 1200);
  EXPECT_EQ(r.yMax, 800);
}

// CI: lifted to the rim, the circle, lifted back to the centre; no cut joins centre and rim.
TEST(HpglReader, ACircleIsReachedAndLeftWithThePenUp) {
  const HpglReadResult up = readHpgl("IN;PU2000,2000;CI1200;", 0.0, 0.0);
  ASSERT_EQ(up.elements.size(), 98u);
  EXPECT_EQ(elementTexts(up.elements, "LINETO").size(), 90u);  // 30 mm: steps of 4 degrees
  const Path ends{formatstest::elementText(up.elements[2]),  formatstest::elementText(up.elements[3]),
                  formatstest::elementText(up.elements[4]),  formatstest::elementText(up.elements[94]),
                  formatstest::elementText(up.elements[95]), formatstest::elementText(up.elements[96]),
                  formatstest::elementText(up.elements[97])};
  EXPECT_EQ(ends, (Path{"MOVETO 50.00 50.00", "MOVETO 80.00 50.00", "DOWN", "LINETO 80.00 50.00", "UP",
                        "MOVETO 50.00 50.00", "UP"}));
  // The first point is 4 degrees round: (2000 + trunc(1200 cos 4), 2000 + trunc(1200 sin 4)).
  EXPECT_NEAR(up.elements[5].x, 3197 * 0.025, 1e-9);
  EXPECT_NEAR(up.elements[5].y, 2083 * 0.025, 1e-9);

  // With the pen down, it is down again afterwards, at the centre.
  const HpglReadResult down = readHpgl("IN;PD;CI400;PA40,0;", 0.0, 0.0);
  const Path texts = elementTexts(down.elements);
  ASSERT_EQ(texts.size(), 46u);
  EXPECT_EQ(Path(texts.begin(), texts.begin() + 5), (Path{"UP", "DOWN", "UP", "MOVETO 10.00 0.00", "DOWN"}));
  EXPECT_EQ(Path(texts.end() - 6, texts.end()),
            (Path{"LINETO 10.00 0.00", "UP", "MOVETO 0.00 0.00", "DOWN", "LINETO 1.00 0.00", "UP"}));
}

struct ArcCase {
  const char* plot;
  std::size_t linetos;
  const char* last;  // the last arc point
};

class HpglArcSteps : public ::testing::TestWithParam<ArcCase> {};

// The step: the chord angle up to 10 degrees (its size when negative), or else the largest of
// 2-10 degrees whose chord is below 3 mm, 2 degrees when none is; the last point ends exactly at
// the end angle.
TEST_P(HpglArcSteps, FollowTheChordAngleOrTheRadiusInMillimetres) {
  const HpglReadResult r = readHpgl(GetParam().plot, 0.0, 0.0);
  ASSERT_TRUE(r.complete);
  const Path linetos = elementTexts(r.elements, "LINETO");
  EXPECT_EQ(linetos.size(), GetParam().linetos);
  ASSERT_FALSE(linetos.empty());
  EXPECT_EQ(linetos.back(), GetParam().last);
}

INSTANTIATE_TEST_SUITE_P(Arcs, HpglArcSteps,
                         ::testing::Values(ArcCase{"IN;CI400,5;", 72, "LINETO 10.00 0.00"},
                                           ArcCase{"IN;CI400,-5;", 72, "LINETO 10.00 0.00"},
                                           ArcCase{"IN;CI400,30;", 36, "LINETO 10.00 0.00"},
                                           ArcCase{"IN;CI400,0;", 36, "LINETO 10.00 0.00"},
                                           ArcCase{"IN;CI400,2.5;", 180, "LINETO 10.00 0.00"},
                                           ArcCase{"IN;PU400,0;PD;AA0,0,90;", 9, "LINETO 0.00 10.00"},
                                           // 100 mm: no step of 2-10 degrees keeps the chord below 3 mm.
                                           ArcCase{"IN;PU4000,0;PD;AA0,0,90;", 45, "LINETO 0.00 100.00"},
                                           ArcCase{"IN;PU400,0;PD;AA0,0,-90,5;", 18, "LINETO 0.00 -10.00"},
                                           // Round the centre 10 mm to the right, from the left end through the bottom.
                                           ArcCase{"IN;PU0,0;PD;AR400,0,180;", 18, "LINETO 20.00 0.00"},
                                           ArcCase{"IN;PU0,0;PR;PD;AR400,0,90;", 9, "LINETO 10.00 -10.00"},
                                           // A sweep beyond a full turn draws one full turn.
                                           ArcCase{"IN;PU400,0;PD;AA0,0,99999999999;", 36, "LINETO 10.00 0.00"},
                                           // The finest step is one degree, however small the chord
                                           // angle is written; a fraction of one is no angle at all.
                                           ArcCase{"IN;CI400,1;", 360, "LINETO 10.00 0.00"},
                                           ArcCase{"IN;CI400,0.001;", 36, "LINETO 10.00 0.00"},
                                           // A radius of 25 km has 2-degree steps like any large one.
                                           ArcCase{"IN;CI99999999999999;", 180, "LINETO 25000000.00 0.00"},
                                           ArcCase{"IN;PU40,40;CI0;", 36, "LINETO 1.00 1.00"},
                                           ArcCase{"IN;PU400,0;PD;AA0,0,0;", 1, "LINETO 10.00 0.00"}));

TEST(HpglReader, AnArcOfTheRelativeCentreGoesDownFirst) {
  const HpglReadResult r = readHpgl("IN;PU0,0;PD;AR400,0,180;", 0.0, 0.0);
  // 10 degrees on: (400 + trunc(-400 cos 10), trunc(-400 sin 10)).
  EXPECT_NEAR(r.elements[4].x, 7 * 0.025, 1e-9);
  EXPECT_NEAR(r.elements[4].y, -69 * 0.025, 1e-9);
}

TEST(HpglReader, AStraySemicolonIsNotedOnceAndALabelsOwnIsNot) {
  const HpglReadResult stray = readHpgl("IN;PU0,0;;;PD40,0;;", 0.0, 0.0);
  EXPECT_TRUE(stray.strayBeep);
  EXPECT_TRUE(stray.complete);
  EXPECT_EQ(elementTexts(stray.elements), (Path{"UP", "UP", "MOVETO 0.00 0.00", "DOWN", "LINETO 1.00 0.00", "UP"}));
  EXPECT_FALSE(readHpgl("IN;LBtext\x03;PU0,0;", 0.0, 0.0).strayBeep);
}

struct RefusalCase {
  const char* name;
  std::string plot;
  std::vector<formats::HpglMessage> messages;
  friend std::ostream& operator<<(std::ostream& os, const RefusalCase& c) { return os << c.name; }
};

class HpglRefusals : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(HpglRefusals, SayWhyAndLeaveNothing) {
  const HpglReadResult r = readHpgl(GetParam().plot, 0.0, 0.0, 20);
  EXPECT_FALSE(r.complete);
  EXPECT_TRUE(r.elements.empty());
  EXPECT_EQ(r.xMin, 0);
  EXPECT_EQ(r.yMin, 0);
  EXPECT_EQ(r.xMax, 0);
  EXPECT_EQ(r.yMax, 0);
  ASSERT_EQ(r.messages.size(), GetParam().messages.size());
  for (std::size_t i = 0; i < r.messages.size(); ++i) {
    EXPECT_EQ(r.messages[i].text, GetParam().messages[i].text);
    EXPECT_EQ(r.messages[i].caption, GetParam().messages[i].caption);
  }
}

const formats::HpglMessage kParsen{"Fehler beim Parsen", "F E H L E R"};

INSTANTIATE_TEST_SUITE_P(
    Plots, HpglRefusals,
    ::testing::Values(
        RefusalCase{"InMissing", "PU0,0;PD400,0;", {{"Der Befehl 'IN' fehlt in der Plot-Datei!", "F E H L E R"}}},
        RefusalCase{"Empty", "", {{"Der Befehl 'IN' fehlt in der Plot-Datei!", "F E H L E R"}}},
        RefusalCase{"UnknownSecondLetter",
                    "IN;PU400,400;PQ1;PD40,0;",
                    {{"P... - Befehl ist noch nicht implementiert!", "H I N W E I S"}, kParsen}},
        RefusalCase{"KnownLetterAtTheEnd",
                    "IN;PU0,0;S",
                    {{"S... - Befehl ist noch nicht implementiert!", "H I N W E I S"}, kParsen}},
        RefusalCase{
            "UnknownFirstLetter", "IN;PU400,400;RO90;", {{"HPGL_Parser() default: \nRO90;", "F E H L E R"}, kParsen}},
        // At most 32 characters of it, control bytes shown as '?'.
        RefusalCase{"UnknownFirstCharacter",
                    "IN;\x1b.(" + std::string(40, 'x'),
                    {{"HPGL_Parser() default: \n?.(" + std::string(29, 'x'), "F E H L E R"}, kParsen}},
        RefusalCase{"InvalidCharacterInTheLastParameter", "IN;PD40,0\x02;", {kParsen}},
        // A label or a quoted comment the file ends in would swallow the rest of the plot: the
        // failure names the line where it began.
        RefusalCase{"LabelWithoutTerminator",
                    "IN;PU0,0;\r\nLBHello;PU0,0;PD400,0;",
                    {{"Fehler beim Parsen\nZeile 2", "F E H L E R"}}},
        RefusalCase{"LabelWithoutTheTerminatorSetByDT",
                    "IN;DT*;\nPU0,0;\nLBHello\x03;PD400,0;",
                    {{"Fehler beim Parsen\nZeile 3", "F E H L E R"}}},
        RefusalCase{"CommentWithoutClosingQuote",
                    "IN;CO\"Hello;PU0,0;PD400,0;",
                    {{"Fehler beim Parsen\nZeile 1", "F E H L E R"}}},
        // Refused whole rather than milled cut short.
        RefusalCase{"MoreElementsThanTheListTakes",
                    "IN;PU0,0;CI400;",
                    {{"Die Plot-Datei ist zu groß: sie hat mehr als 20 Elemente.", "F E H L E R"}, kParsen}}),
    [](const ::testing::TestParamInfo<RefusalCase>& p) { return std::string(p.param.name); });

}  // namespace
