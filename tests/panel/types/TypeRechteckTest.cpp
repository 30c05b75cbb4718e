// Rectangles: which rectangles can be milled, the exact paths of a plain contour, a contour with
// holding tabs (and tabs that would vanish inside the corner arcs), a lead-in and a ramp entry, the travel lines and
// pen positions of the drawing, the extent, and the hit and handle tests at their bounds.
#include <ostream>

#include "ObjectTypeFixture.h"
#include "panel/DocumentFile.h"
#include "panel/types/TypeRechteck.h"
#include "support/Fixtures.h"
#include "support/ScriptedUi.h"

namespace {

using Strings = std::vector<std::string>;
using paneltest::Cells;
using testsupport::CanvasOp;

Cells rectangle(const char* x2, const char* y2, const char* eck, const char* eintauchen, const char* richtung,
                const char* korrektur) {
  return {{1, "0.00"}, {2, "0.00"},     {3, x2},       {4, y2},        {5, "-1.00"},
          {6, eck},    {8, eintauchen}, {9, richtung}, {10, korrektur}};
}

const char* const kCw = "Uhrzeigersinn";
const char* const kCcw = "Gegenuhrzeigersinn";

struct ValidityCase {
  const char* name;
  double durchmesser;
  Cells cells;
  bool gueltig;
  double r;
  friend std::ostream& operator<<(std::ostream& os, const ValidityCase& c) { return os << c.name; }
};

class RectangleValidity : public paneltest::ObjectTypeFixture, public ::testing::WithParamInterface<ValidityCase> {};

TEST_P(RectangleValidity, DecidesWhetherTheRectangleCanBeMilled) {
  form_.Abmessungen.setFraeserdurchmesser(GetParam().durchmesser);
  const int row = addRow("RECHTECK1", GetParam().cells);
  const auto r = panel::Rechteck1_Lesen(form_, form_.DatenStringGrid, row);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->gueltig, GetParam().gueltig);
  EXPECT_DOUBLE_EQ(r->r, GetParam().r);
  if (!GetParam().gueltig) {
    EXPECT_TRUE(mill(row).empty());
    EXPECT_EQ(beeps_, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RectangleValidity,
    ::testing::Values(
        ValidityCase{"InnenSharp", 3.0, rectangle("10", "5", "0", "nein", kCw, "innen"), true, 0.0},
        ValidityCase{"InnenRadiusBelowCutter", 3.0, rectangle("10", "5", "1", "nein", kCw, "innen"), false, -0.5},
        ValidityCase{"InnenRadiusAboveCutter", 3.0, rectangle("10", "5", "2", "nein", kCw, "innen"), true, 0.5},
        ValidityCase{"AussenSharp", 3.0, rectangle("10", "5", "0", "nein", kCw, "aussen"), true, 0.0},
        ValidityCase{"TabsFit", 3.0, rectangle("10", "5", "0", "nein", kCw, "aussen-steg"), true, 0.0},
        ValidityCase{"TabsTooWide", 4.0, rectangle("10", "5", "0", "nein", kCw, "aussen-steg"), false, 0.0},
        // 12 x 20 with a 3 mm cutter: 15 mm compensated width, so the corner arcs (radius + 1.5) may
        // reach 7.5 - 3 = 4.5 mm in before they run into the tab stretch of C.x -/+ 3.
        ValidityCase{"TabsClearOfTheCorners", 3.0, rectangle("12", "20", "3", "nein", kCw, "aussen-steg"), true, 4.5},
        ValidityCase{"TabsInsideTheCornerArcs", 3.0, rectangle("12", "20", "3.01", "nein", kCw, "aussen-steg"), false,
                     4.51},
        ValidityCase{"TabsShrunkToSlivers", 3.0, rectangle("12", "20", "5", "nein", kCw, "aussen-steg"), false, 6.5},
        ValidityCase{"RampTooLow", 3.0, rectangle("10", "5", "0", "ja", kCw, "mitte"), false, 0.0},
        ValidityCase{"LeadInOutsideTheContour", 3.0, rectangle("10", "5", "0", "ja", kCw, "innen"), false, 0.0},
        ValidityCase{"CornersSwapped", 3.0, rectangle("-10", "5", "0", "nein", kCw, "mitte"), false, 0.0},
        ValidityCase{"NegativeCornerRadius", 3.0, rectangle("10", "5", "-1", "nein", kCw, "mitte"), false, -1.0},
        ValidityCase{"NegativeCornerRadiusOutside", 3.0, rectangle("10", "5", "-0.5", "nein", kCw, "aussen"), false,
                     1.0},
        ValidityCase{"RadiusOverHalfTheHeight", 3.0, rectangle("20", "5", "3", "nein", kCw, "mitte"), false, 3.0},
        // Only "innen" compares the width with the radius.
        ValidityCase{"RadiusOverHalfTheWidth", 3.0, rectangle("5", "20", "3", "nein", kCw, "mitte"), true, 3.0},
        ValidityCase{"PocketWithoutCutter", 0.0, rectangle("10", "5", "0", "nein", kCw, "innen-tasche"), false, 0.0}),
    [](const ::testing::TestParamInfo<ValidityCase>& caseInfo) { return std::string(caseInfo.param.name); });

class Rectangles : public paneltest::ObjectTypeFixture {};

// The document of the fault: 12 x 20 mm, corner radius 5, 3 mm cutter, tabs. Its path would have
// turned back inside the corner arcs and left tabs of about 0.4 mm; it is drawn as invalid and
// refused with the error signal when milled.
TEST_F(Rectangles, TabsInsideTheCornerArcsAreRefused) {
  testsupport::ScriptedUi ui;
  ASSERT_TRUE(panel::DokumentOeffnen(form_, testsupport::fixture("steg-in-ecken.tvx"), ui));
  ASSERT_TRUE(draw(1));
  const auto outline = canvas_.opsOf(CanvasOp::Kind::LineTo);
  ASSERT_FALSE(outline.empty());
  EXPECT_EQ(outline.front().pen.colour, form_.Farben.FarbeUngueltig);
  EXPECT_TRUE(mill(1).empty());
  EXPECT_EQ(beeps_, 1);
}

// The new rectangle with a 3 mm cutter: compensated corners (1.5, 1.5) and (8.5, 3.5), sharp.
TEST_F(Rectangles, TheNewInsideRectangleRunsClockwiseFromTheMiddleOfItsLeftEdge) {
  const int row = addRow("RECHTECK1", rectangle("10.00", "5.00", "0.00", "nein", kCw, "innen"));
  EXPECT_EQ(mill(row), (Strings{"cncMoveTo 1.50 2.50", "cncKuehlmittelpumpe 1", "cncLineTo 0 1.50 2.50 1.00",
                                "cncLineTo 1 1.50 3.50 1.00", "cncKreisLineTo 1 1.50 3.50 0.00 180.00 90.00 1.00",
                                "cncLineTo 1 8.50 3.50 1.00", "cncKreisLineTo 1 8.50 3.50 0.00 90.00 0.00 1.00",
                                "cncLineTo 1 8.50 1.50 1.00", "cncKreisLineTo 1 8.50 1.50 0.00 0.00 270.00 1.00",
                                "cncLineTo 1 1.50 1.50 1.00", "cncKreisLineTo 1 1.50 1.50 0.00 270.00 180.00 1.00",
                                "cncLineTo 1 1.50 2.50 1.00", "cncKuehlmittelpumpe 0"}));
}

// Outside with tabs, corner radius 1 (2.5 on the cutter path): corners (-1.5, -1.5) and
// (11.5, 6.5); the tabs stand between x 2 and 8 on the top and the bottom edge.
TEST_F(Rectangles, AContourWithTabsLiftsOverThemAndPlungesAgain) {
  const int row = addRow("RECHTECK1", rectangle("10.00", "5.00", "1.00", "nein", kCw, "aussen-steg"));
  EXPECT_EQ(mill(row), (Strings{"cncMoveTo -1.50 2.50", "cncKuehlmittelpumpe 1", "cncLineTo 0 -1.50 2.50 1.00",
                                "cncLineTo 1 -1.50 4.00 1.00", "cncKreisLineTo 1 1.00 4.00 2.50 180.00 90.00 1.00",
                                "cncLineTo 1 2.00 6.50 1.00", "cncMoveTo 8.00 6.50", "cncLineTo 0 8.00 6.50 1.00",
                                "cncLineTo 1 9.00 6.50 1.00", "cncKreisLineTo 1 9.00 4.00 2.50 90.00 0.00 1.00",
                                "cncLineTo 1 11.50 1.00 1.00", "cncKreisLineTo 1 9.00 1.00 2.50 0.00 270.00 1.00",
                                "cncLineTo 1 8.00 -1.50 1.00", "cncMoveTo 2.00 -1.50", "cncLineTo 1 2.00 -1.50 1.00",
                                "cncLineTo 1 1.00 -1.50 1.00", "cncKreisLineTo 1 1.00 1.00 2.50 270.00 180.00 1.00",
                                "cncLineTo 1 -1.50 2.50 1.00", "cncKuehlmittelpumpe 0"}));

  // Counter-clockwise both tabs plunge at working speed, the first under the bottom edge.
  setCell(row, 9, kCcw);
  const Strings ccw = mill(row);
  EXPECT_EQ(ccw[5], "cncLineTo 1 2.00 -1.50 1.00");
  EXPECT_EQ(ccw[6], "cncMoveTo 8.00 -1.50");
  EXPECT_EQ(ccw[7], "cncLineTo 1 8.00 -1.50 1.00");
  EXPECT_EQ(ccw[13], "cncMoveTo 2.00 6.50");
  EXPECT_EQ(ccw[14], "cncLineTo 1 2.00 6.50 1.00");
}

// 20 x 20 inside, clockwise, with lead-in: the contour starts at (1.5, 10); the arcs of 2 mm turn
// round (3.5, 10), entering from (3.5, 8) and leaving towards (3.5, 12).
TEST_F(Rectangles, ALeadInEntersOnAQuarterArcAndALeadOutLeaves) {
  const int row = addRow("RECHTECK1", rectangle("20.00", "20.00", "0.00", "ja", kCw, "innen"));
  const Strings calls = mill(row);
  ASSERT_EQ(calls.size(), 3u + 21u + 9u + 21u + 1u);
  EXPECT_EQ(Strings(calls.begin(), calls.begin() + 4),
            (Strings{"cncMoveTo 3.50 8.00", "cncKuehlmittelpumpe 1", "cncLineTo 0 3.50 8.00 1.00",
                     "cncKreisLineTo 1 3.50 10.00 2.00 270.00 265.50 1.00"}));
  EXPECT_EQ(calls[23], "cncKreisLineTo 1 3.50 10.00 2.00 180.00 175.50 1.00");
  EXPECT_EQ(Strings(calls.begin() + 24, calls.begin() + 33),
            (Strings{"cncLineTo 1 1.50 18.50 1.00", "cncKreisLineTo 1 1.50 18.50 0.00 180.00 90.00 1.00",
                     "cncLineTo 1 18.50 18.50 1.00", "cncKreisLineTo 1 18.50 18.50 0.00 90.00 0.00 1.00",
                     "cncLineTo 1 18.50 1.50 1.00", "cncKreisLineTo 1 18.50 1.50 0.00 0.00 270.00 1.00",
                     "cncLineTo 1 1.50 1.50 1.00", "cncKreisLineTo 1 1.50 1.50 0.00 270.00 180.00 1.00",
                     "cncLineTo 1 1.50 10.00 1.00"}));
  EXPECT_EQ(calls[33], "cncKreisLineTo 1 3.50 10.00 2.00 180.00 175.50 1.00");
  EXPECT_EQ(calls[53], "cncKreisLineTo 1 3.50 10.00 2.00 90.00 85.50 1.00");
  EXPECT_EQ(calls[54], "cncKuehlmittelpumpe 0");
}

// 20 x 10 on the cutter centre, corner radius 2: the ramp runs down the left edge from the end
// of its straight part (0, 2) to its middle (0, 5).
TEST_F(Rectangles, AContourOnTheCutterCentreRampsDownItsLeftEdge) {
  const int row = addRow("RECHTECK1", rectangle("20.00", "10.00", "2.00", "ja", kCw, "mitte"));
  setCell(row, 5, "-2.00");
  EXPECT_EQ(mill(row), (Strings{"cncMoveTo 0.00 2.00", "cncKuehlmittelpumpe 1", "cncLineTo 0 0.00 5.00 2.00",
                                "cncLineTo 1 0.00 8.00 2.00", "cncKreisLineTo 1 2.00 8.00 2.00 180.00 90.00 2.00",
                                "cncLineTo 1 18.00 10.00 2.00", "cncKreisLineTo 1 18.00 8.00 2.00 90.00 0.00 2.00",
                                "cncLineTo 1 20.00 2.00 2.00", "cncKreisLineTo 1 18.00 2.00 2.00 0.00 270.00 2.00",
                                "cncLineTo 1 2.00 0.00 2.00", "cncKreisLineTo 1 2.00 2.00 2.00 270.00 180.00 2.00",
                                "cncLineTo 1 0.00 5.00 2.00", "cncKuehlmittelpumpe 0"}));
  setCell(row, 9, kCcw);
  const Strings ccw = mill(row);
  EXPECT_EQ(ccw[0], "cncMoveTo 0.00 8.00");
  EXPECT_EQ(ccw[2], "cncLineTo 0 0.00 5.00 2.00");
}

struct DrawCase {
  const char* name;
  Cells cells;
  platform::Point travelTo;
  platform::Point penEnd;
  friend std::ostream& operator<<(std::ostream& os, const DrawCase& c) { return os << c.name; }
};

class RectangleDrawing : public paneltest::ObjectTypeFixture, public ::testing::WithParamInterface<DrawCase> {};

// 20 x 20 at 4 px/mm from pixel (40, 500): the contour start (1.5, 10) is pixel (46, 460).
TEST_P(RectangleDrawing, TravelsToWhereTheCutStartsAndLeavesThePenWhereItEnds) {
  const TravelAndEnd drawn = drawFromAside(addRow("RECHTECK1", GetParam().cells));
  EXPECT_EQ(drawn.travelTo, GetParam().travelTo);
  EXPECT_EQ(drawn.penEnd, GetParam().penEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RectangleDrawing,
    ::testing::Values(DrawCase{"Plain", rectangle("20", "20", "0", "nein", kCw, "innen"), {46, 460}, {46, 460}},
                      DrawCase{"LeadIn", rectangle("20", "20", "0", "ja", kCw, "innen"), {54, 468}, {54, 452}},
                      DrawCase{"Ramp", rectangle("20", "20", "0", "ja", kCw, "mitte"), {40, 500}, {40, 460}},
                      // Eight rings of 17 mm down to 2.3 mm; the last starts at x 8.85 mm.
                      DrawCase{
                          "Pocket", rectangle("20", "20", "0", "nein", kCw, "innen-tasche"), {46, 460}, {75, 460}}),
    [](const ::testing::TestParamInfo<DrawCase>& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(Rectangles, ARectangleThatCannotBeMilledIsDrawnInTheInvalidColour) {
  const int row = addRow("RECHTECK1", rectangle("10", "5", "-1", "nein", kCw, "innen"));
  ASSERT_TRUE(draw(row));
  const auto drawn = canvas_.opsOf(CanvasOp::Kind::LineTo);
  ASSERT_FALSE(drawn.empty());
  for (const auto& op : drawn) EXPECT_EQ(op.pen.colour, form_.Farben.FarbeUngueltig);
  EXPECT_EQ(drawn.front().pen.style, platform::PenStyle::Solid);
  EXPECT_EQ(drawn.back().pen.style, platform::PenStyle::Dot);

  canvas_.clear();
  setCell(row, 6, "0");
  ASSERT_TRUE(draw(row));
  const auto valid = canvas_.opsOf(CanvasOp::Kind::LineTo);
  EXPECT_EQ(valid.front().pen.colour, form_.Farben.FarbeJa);
  EXPECT_EQ(valid.back().pen.colour, form_.Farben.FarbeFraesweg);
}

TEST_F(Rectangles, TheExtentTakesTheCutterPathOnlyForOutsideContours) {
  const int innen = addRow("RECHTECK3", {{1, "10"}, {2, "10"}, {3, "10"}, {4, "5"}, {10, "innen"}});
  const int aussen = addRow("RECHTECK3", {{1, "10"}, {2, "10"}, {3, "10"}, {4, "5"}, {10, "aussen-steg"}});
  form_.Ausdehnung = {100, 100, -100, -100};
  draw(innen);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.xMin, 10.0);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.yMax, 15.0);
  draw(aussen);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.xMin, 8.5);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.yMin, 8.5);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.xMax, 21.5);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.yMax, 16.5);
}

// 10 x 5 from the origin: pixels x 40..80 and y 480..500, centre (60, 490); both middle bands
// are a quarter of the 40 px width on each side of the centre.
TEST_F(Rectangles, AreHitWithinTheirBoxAndGrabbedByTheBandsAndMargins) {
  const int row = addRow("RECHTECK1", rectangle("10", "5", "0", "nein", kCw, "innen"));
  expectHitsAndHandles(row, {{40, 480}, {80, 500}}, {{39, 490}, {81, 490}, {60, 479}, {60, 501}},
                       {{60, 490, 6},
                        {51, 490, 6},
                        {50, 490, -1},
                        {49, 490, 5},
                        {26, 490, 5},
                        {25, 490, -1},
                        {71, 490, 7},
                        {94, 490, 7},
                        {95, 490, -1},
                        {60, 510, 5},
                        {60, 514, 5},
                        {60, 515, -1},
                        {60, 470, 7},
                        {60, 466, 7},
                        {60, 465, -1},
                        {60, 500, -1},
                        {95, 510, -1}});
}

}  // namespace
