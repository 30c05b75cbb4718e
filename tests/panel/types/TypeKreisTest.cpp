// Circles: the cut for every compensation word, the pocket's rings, which circles can be milled,
// the lead-in and the ramp, the travel lines and pen positions of the drawing, the extent, and
// the hit and handle tests at their bounds.
#include <ostream>

#include "ObjectTypeFixture.h"
#include "panel/types/TypeKreis.h"

namespace {

using Strings = std::vector<std::string>;
using paneltest::Cells;
using testsupport::CanvasOp;

const char* const kCw = "Uhrzeigersinn";
const char* const kCcw = "Gegenuhrzeigersinn";

// A circle round (20, 20), 1 mm deep.
Cells circle(const char* radius, const char* eintauchen, const char* richtung, const char* korrektur) {
  return {{1, "20.00"}, {2, "20.00"}, {3, radius}, {4, "-1.00"}, {8, eintauchen}, {9, richtung}, {10, korrektur}};
}

class Circles : public paneltest::ObjectTypeFixture {};

struct WordCase {
  const char* name;
  const char* richtung;
  const char* korrektur;
  Strings calls;
  friend std::ostream& operator<<(std::ostream& os, const WordCase& c) { return os << c.name; }
};

class CircleWords : public paneltest::ObjectTypeFixture, public ::testing::WithParamInterface<WordCase> {};

// Radius 10 with a 3 mm cutter: the cutter runs at 8.5 inside, 11.5 outside, 10 on the contour,
// from the circle's leftmost point round a full turn.
TEST_P(CircleWords, CutOneFullTurnOnTheCompensatedRadius) {
  const int row = addRow("KREIS", circle("10.00", "nein", GetParam().richtung, GetParam().korrektur));
  EXPECT_EQ(mill(row), GetParam().calls);
  EXPECT_EQ(beeps_, 0);
}

Strings fullCircle(const char* x, const char* r, int direction) {
  return {std::string("cncMoveTo ") + x + " 20.00", "cncKuehlmittelpumpe 1",
          std::string("cncLineTo 0 ") + x + " 20.00 1.00",
          "cncKreisLineTo " + std::to_string(direction) + " 20.00 20.00 " + r + " 180.00 180.00 1.00",
          "cncKuehlmittelpumpe 0"};
}

INSTANTIATE_TEST_SUITE_P(Words, CircleWords,
                         ::testing::Values(WordCase{"Innen", kCw, "innen", fullCircle("11.50", "8.50", 1)},
                                           WordCase{"Aussen", kCw, "aussen", fullCircle("8.50", "11.50", 1)},
                                           // A circle has no tabs.
                                           WordCase{"AussenSteg", kCw, "aussen-steg", fullCircle("8.50", "11.50", 1)},
                                           WordCase{"Mitte", kCw, "mitte", fullCircle("10.00", "10.00", 1)},
                                           WordCase{"OtherWord", kCw, "Innen", fullCircle("10.00", "10.00", 1)},
                                           WordCase{"CounterClockwise", kCcw, "innen", fullCircle("11.50", "8.50", 0)}),
                         [](const ::testing::TestParamInfo<WordCase>& caseInfo) {
                           return std::string(caseInfo.param.name);
                         });

struct PocketCase {
  const char* name;
  const char* radius;
  double durchmesser;
  std::vector<double> ringe;
  friend std::ostream& operator<<(std::ostream& os, const PocketCase& c) { return os << c.name; }
};

class CirclePockets : public paneltest::ObjectTypeFixture, public ::testing::WithParamInterface<PocketCase> {};

// Rings from the compensated radius inward, 0.7 cutter diameters apart, while they stay outside
// half the cutter radius; each entered by a straight cut at the depth; no lead-out.
TEST_P(CirclePockets, CutTheirRingsInwardAtTheDepth) {
  form_.Abmessungen.setFraeserdurchmesser(GetParam().durchmesser);
  const int row = addRow("KREIS", circle(GetParam().radius, "nein", kCw, "innen-tasche"));
  const Strings calls = mill(row);
  ASSERT_EQ(calls.size(), 3u + 2u * GetParam().ringe.size() + 1u);
  for (std::size_t i = 0; i < GetParam().ringe.size(); ++i) {
    const double r = GetParam().ringe[i];
    EXPECT_EQ(calls[3 + 2 * i], "cncLineTo 1 " + platform::formatFixed(20.0 - r, 2) + " 20.00 1.00") << i;
    EXPECT_EQ(calls[4 + 2 * i], "cncKreisLineTo 1 20.00 20.00 " + platform::formatFixed(r, 2) + " 180.00 180.00 1.00")
        << i;
  }
  EXPECT_EQ(calls.back(), "cncKuehlmittelpumpe 0");

  // The drawing shows the same rings.
  form_.DrawFraeswege = true;
  ASSERT_TRUE(draw(row));
  EXPECT_EQ(canvas_.opsOf(CanvasOp::Kind::Ellipse).size(), 1u + GetParam().ringe.size());
}

INSTANTIATE_TEST_SUITE_P(
    Rings, CirclePockets,
    ::testing::Values(PocketCase{"Radius10Cutter3", "10.00", 3.0, {8.5, 6.4, 4.3, 2.2}},
                      // At or inside half the cutter radius the loop still cuts its first ring.
                      PocketCase{"OneRingOnly", "2.00", 3.0, {0.5}},
                      PocketCase{"Radius10Cutter1",
                                 "10.00",
                                 1.0,
                                 {9.5, 8.8, 8.1, 7.4, 6.7, 6.0, 5.3, 4.6, 3.9, 3.2, 2.5, 1.8, 1.1, 0.4}}),
    [](const ::testing::TestParamInfo<PocketCase>& caseInfo) { return std::string(caseInfo.param.name); });

// Without a cutter the rings would never end: the pocket is not milled, and its drawing stops
// after the first ring.
TEST_F(Circles, APocketWithoutCutterIsNotMilledAndDrawsOneRing) {
  form_.Abmessungen.setFraeserdurchmesser(0.0);
  const int row = addRow("KREIS", circle("10.00", "nein", kCw, "innen-tasche"));
  EXPECT_TRUE(mill(row).empty());
  EXPECT_EQ(beeps_, 1);
  ASSERT_TRUE(draw(row));
  const auto ellipses = canvas_.opsOf(CanvasOp::Kind::Ellipse);
  ASSERT_EQ(ellipses.size(), 2u);
  EXPECT_EQ(ellipses[1].pen.colour, form_.Farben.FarbeUngueltig);

  form_.Abmessungen.setFraeserdurchmesser(-3.0);
  EXPECT_TRUE(mill(row).empty());
  EXPECT_EQ(beeps_, 2);
}

struct ValidityCase {
  const char* name;
  Cells cells;
  bool gueltig;
  friend std::ostream& operator<<(std::ostream& os, const ValidityCase& c) { return os << c.name; }
};

class CircleValidity : public paneltest::ObjectTypeFixture, public ::testing::WithParamInterface<ValidityCase> {};

TEST_P(CircleValidity, DecidesWhetherTheCircleCanBeMilled) {
  const int row = addRow("KREIS", GetParam().cells);
  const auto k = panel::Kreis_Lesen(form_, form_.DatenStringGrid, row);
  ASSERT_TRUE(k);
  EXPECT_EQ(k->gueltig, GetParam().gueltig);
  EXPECT_EQ(mill(row).empty(), !GetParam().gueltig);
  EXPECT_EQ(beeps_, GetParam().gueltig ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CircleValidity,
    ::testing::Values(ValidityCase{"InnenSmallerThanTheCutter", circle("1.40", "nein", kCw, "innen"), false},
                      ValidityCase{"InnenAsLargeAsTheCutterRadius", circle("1.50", "nein", kCw, "innen"), true},
                      ValidityCase{"PocketSmallerThanTheCutter", circle("1.40", "nein", kCw, "innen-tasche"), false},
                      // The 2 mm entry arc needs a compensated radius of 2 mm.
                      ValidityCase{"InnenLeadInTooTight", circle("3.40", "ja", kCw, "innen"), false},
                      ValidityCase{"InnenLeadInFits", circle("3.50", "ja", kCw, "innen"), true},
                      ValidityCase{"AussenLeadInBelowTheCutter", circle("1.40", "ja", kCw, "aussen"), false},
                      ValidityCase{"AussenLeadInAtTheCutter", circle("1.50", "ja", kCw, "aussen"), true},
                      ValidityCase{"AussenWithoutLeadIn", circle("0.10", "nein", kCw, "aussen"), true},
                      ValidityCase{"RampIsNeverTooSmall", circle("0.00", "ja", kCw, "mitte"), true},
                      ValidityCase{"NegativeRadius", circle("-2.00", "nein", kCw, "mitte"), false}),
    [](const ::testing::TestParamInfo<ValidityCase>& caseInfo) { return std::string(caseInfo.param.name); });

// Radius 11.5 inside: the cutter runs at 10 round (20, 20) from P (10, 20); the entry arc of 2 mm
// turns round C (12, 20) from A (12, 18), the exit towards E (12, 22).
TEST_F(Circles, ALeadInEntersOnAQuarterArcAndALeadOutLeaves) {
  const int row = addRow("KREIS", circle("11.50", "ja", kCw, "innen"));
  const Strings calls = mill(row);
  ASSERT_EQ(calls.size(), 3u + 21u + 1u + 21u + 1u);
  EXPECT_EQ(Strings(calls.begin(), calls.begin() + 4),
            (Strings{"cncMoveTo 12.00 18.00", "cncKuehlmittelpumpe 1", "cncLineTo 0 12.00 18.00 1.00",
                     "cncKreisLineTo 1 12.00 20.00 2.00 270.00 265.50 1.00"}));
  EXPECT_EQ(calls[23], "cncKreisLineTo 1 12.00 20.00 2.00 180.00 175.50 1.00");
  EXPECT_EQ(calls[24], "cncKreisLineTo 1 20.00 20.00 10.00 180.00 180.00 1.00");
  EXPECT_EQ(calls[25], "cncKreisLineTo 1 12.00 20.00 2.00 180.00 175.50 1.00");
  EXPECT_EQ(calls[45], "cncKreisLineTo 1 12.00 20.00 2.00 90.00 85.50 1.00");
  EXPECT_EQ(calls[46], "cncKuehlmittelpumpe 0");
}

// On the contour the circle is entered down its own path: counter-clockwise from its top, 5 % of
// the 2 mm depth deeper each segment, then the full turn at the depth and no lead-out.
TEST_F(Circles, AContourOnTheCutterCentreRampsDownItsOwnPath) {
  const int row = addRow("KREIS", circle("10.00", "ja", kCcw, "mitte"));
  setCell(row, 4, "-2.00");
  const Strings calls = mill(row);
  ASSERT_EQ(calls.size(), 2u + 21u + 1u + 1u);
  EXPECT_EQ(calls[0], "cncMoveTo 20.00 30.00");
  EXPECT_EQ(calls[2], "cncKreisLineTo 0 20.00 20.00 10.00 90.00 94.50 0.00");
  EXPECT_EQ(calls[22], "cncKreisLineTo 0 20.00 20.00 10.00 180.00 184.50 2.00");
  EXPECT_EQ(calls[23], "cncKreisLineTo 0 20.00 20.00 10.00 180.00 180.00 2.00");
  EXPECT_EQ(calls[24], "cncKuehlmittelpumpe 0");

  setCell(row, 9, kCw);
  EXPECT_EQ(mill(row)[0], "cncMoveTo 20.00 10.00");
}

struct DrawCase {
  const char* name;
  Cells cells;
  platform::Point travelTo;
  platform::Point penEnd;
  friend std::ostream& operator<<(std::ostream& os, const DrawCase& c) { return os << c.name; }
};

class CircleDrawing : public paneltest::ObjectTypeFixture, public ::testing::WithParamInterface<DrawCase> {};

// Centre (20, 20) at 4 px/mm from pixel (40, 500) is pixel (120, 420).
TEST_P(CircleDrawing, TravelsToWhereTheCutStartsAndLeavesThePenWhereItEnds) {
  const TravelAndEnd drawn = drawFromAside(addRow("KREIS", GetParam().cells));
  EXPECT_EQ(drawn.travelTo, GetParam().travelTo);
  EXPECT_EQ(drawn.penEnd, GetParam().penEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CircleDrawing,
    ::testing::Values(DrawCase{"Plain", circle("10", "nein", kCw, "innen"), {86, 420}, {86, 420}},
                      DrawCase{"LeadIn", circle("11.5", "ja", kCw, "innen"), {88, 428}, {88, 412}},
                      DrawCase{"RampClockwise", circle("10", "ja", kCw, "mitte"), {120, 460}, {80, 420}},
                      DrawCase{"RampCounterClockwise", circle("10", "ja", kCcw, "mitte"), {120, 380}, {80, 420}},
                      // The pen ends on the innermost ring (2.2 mm), where the cutter stops.
                      DrawCase{"Pocket", circle("10", "nein", kCw, "innen-tasche"), {86, 420}, {112, 420}}),
    [](const ::testing::TestParamInfo<DrawCase>& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(Circles, AreDrawnByModeAndACircleThatCannotBeMilledInTheInvalidColour) {
  const int row = addRow("KREIS", circle("1.00", "nein", kCw, "innen"));
  ASSERT_TRUE(draw(row));
  auto ellipses = canvas_.opsOf(CanvasOp::Kind::Ellipse);
  ASSERT_EQ(ellipses.size(), 2u);
  EXPECT_EQ(ellipses[0].pen.colour, form_.Farben.FarbeUngueltig);
  EXPECT_EQ(ellipses[0].pen.style, platform::PenStyle::Solid);
  EXPECT_EQ(ellipses[0].args, (std::vector<int>{116, 416, 124, 424}));
  EXPECT_EQ(ellipses[1].pen.colour, form_.Farben.FarbeUngueltig);
  EXPECT_EQ(ellipses[1].pen.style, platform::PenStyle::Dot);

  // Not milled: outline only, and the pen goes back to where it was.
  setCell(row, 11, "nur zeichnen");
  canvas_.clear();
  canvas_.moveTo(3, 4);
  ASSERT_TRUE(draw(row));
  ellipses = canvas_.opsOf(CanvasOp::Kind::Ellipse);
  ASSERT_EQ(ellipses.size(), 1u);
  EXPECT_EQ(ellipses[0].pen.colour, form_.Farben.FarbeNurZeichnen);
  EXPECT_EQ(ellipses[0].pen.style, platform::PenStyle::Dot);
  EXPECT_EQ(canvas_.penPos(), (platform::Point{3, 4}));
}

TEST_F(Circles, TheExtentTakesTheCutterPathOnlyForOutsideCircles) {
  const int innen = addRow("KREIS", circle("10", "nein", kCw, "innen"));
  const int aussen = addRow("KREIS", circle("10", "nein", kCw, "aussen-steg"));
  form_.Ausdehnung = {100, 100, -100, -100};
  draw(innen);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.xMin, 10.0);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.yMax, 30.0);
  draw(aussen);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.xMin, 8.5);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.yMax, 31.5);
}

// Radius 10 round pixel (120, 420): box 80..160 x 380..460; handle bands of half the 40 px radius
// round the centre, reaching 15 px beyond the box; all bounds strict.
TEST_F(Circles, AreHitWithinTheirBoxAndGrabbedByTheirFiveHandles) {
  const int row = addRow("KREIS", circle("10", "nein", kCw, "innen"));
  expectHitsAndHandles(row, {{80, 380}, {160, 460}}, {{79, 420}, {161, 420}, {120, 379}, {120, 461}},
                       {{120, 420, 13},
                        {101, 420, 13},
                        {100, 420, -1},
                        {99, 420, 14},
                        {66, 420, 14},
                        {65, 420, -1},
                        {141, 420, 15},
                        {174, 420, 15},
                        {175, 420, -1},
                        {120, 399, 16},
                        {120, 366, 16},
                        {120, 365, -1},
                        {66, 441, 17},
                        {120, 474, 17},
                        {120, 475, -1},
                        {65, 441, -1},
                        {120, 440, -1}});
}

TEST_F(Circles, TheGrabbedHandleIsMarkedRed) {
  const int row = addRow("KREIS", circle("10", "nein", kCw, "innen"));
  setCell(row, 12, "true");
  form_.Griffpunkt = 17;
  ASSERT_TRUE(draw(row));
  const auto squares = canvas_.opsOf(CanvasOp::Kind::FillRect);
  ASSERT_EQ(squares.size(), 9u);
  EXPECT_EQ(squares.back().brush.colour, 0x0000FFu);
  EXPECT_EQ(squares.back().args, (std::vector<int>{115, 455, 125, 465}));
}

}  // namespace
