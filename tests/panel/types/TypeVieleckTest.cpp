// Regular polygons: the corners for 3, 6 and 8 sides in both directions, the corner count's
// clamp, the compensation of the circumradius, which polygons can be milled, the straight and the
// ramped entry, and the drawing.
#include <cmath>
#include <numbers>
#include <ostream>

#include "ObjectTypeFixture.h"
#include "panel/types/TypeVieleck.h"

namespace {

using Strings = std::vector<std::string>;
using paneltest::Cells;
using testsupport::CanvasOp;

const char* const kCw = "Uhrzeigersinn";
const char* const kCcw = "Gegenuhrzeigersinn";

Cells polygon(const char* radius, const char* ecken, const char* drehung, const char* eintauchen, const char* richtung,
              const char* korrektur) {
  return {{1, "5.00"},  {2, "5.00"},     {3, radius},   {4, ecken},     {5, drehung},
          {6, "-1.00"}, {8, eintauchen}, {9, richtung}, {10, korrektur}};
}

class Polygons : public paneltest::ObjectTypeFixture {};

struct CornerCase {
  const char* name;
  const char* ecken;
  const char* richtung;
  // Polar angles of corners 0.. on the panel, degrees counter-clockwise.
  std::vector<double> winkel;
  friend std::ostream& operator<<(std::ostream& os, const CornerCase& c) { return os << c.name; }
};

class PolygonCorners : public paneltest::ObjectTypeFixture, public ::testing::WithParamInterface<CornerCase> {};

// Radius 10 round (5, 5) on the contour: "Uhrzeigersinn" lays the corners counter-clockwise on the
// panel, any other direction clockwise; the chain closes on corner 0.
TEST_P(PolygonCorners, LieOnTheCircumcircleFromTheRotationInTheSenseOfTheDirection) {
  const int row = addRow("VIELECK", polygon("10", GetParam().ecken, "0", "nein", GetParam().richtung, "mitte"));
  const auto v = panel::Vieleck_Lesen(form_, form_.DatenStringGrid, row);
  ASSERT_TRUE(v);
  const std::vector<double>& winkel = GetParam().winkel;
  ASSERT_EQ(v->ecken.size(), winkel.size());
  ASSERT_EQ(v->eckenK.size(), winkel.size() + 1);
  for (std::size_t i = 0; i <= winkel.size(); ++i) {
    const double a = winkel[i % winkel.size()] * std::numbers::pi / 180.0;
    EXPECT_NEAR(v->eckenK[i].x, 5.0 + 10.0 * std::cos(a), 1e-9) << i;
    EXPECT_NEAR(v->eckenK[i].y, 5.0 + 10.0 * std::sin(a), 1e-9) << i;
  }

  Strings expected = {"cncMoveTo 15.00 5.00", "cncKuehlmittelpumpe 1", "cncLineTo 0 15.00 5.00 1.00"};
  for (std::size_t i = 1; i <= winkel.size(); ++i) {
    const double a = winkel[i % winkel.size()] * std::numbers::pi / 180.0;
    expected.push_back("cncLineTo 1 " + platform::formatFixed(5.0 + 10.0 * std::cos(a), 2) + " " +
                       platform::formatFixed(5.0 + 10.0 * std::sin(a), 2) + " 1.00");
  }
  expected.push_back("cncKuehlmittelpumpe 0");
  EXPECT_EQ(mill(row), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sides, PolygonCorners,
    ::testing::Values(CornerCase{"Three", "3", kCw, {0, 120, 240}},
                      CornerCase{"ThreeCounterClockwiseWord", "3", kCcw, {0, -120, -240}},
                      CornerCase{"Six", "6", kCw, {0, 60, 120, 180, 240, 300}},
                      CornerCase{"Eight", "8", kCw, {0, 45, 90, 135, 180, 225, 270, 315}},
                      CornerCase{"EightCounterClockwiseWord", "8", kCcw, {0, -45, -90, -135, -180, -225, -270, -315}}),
    [](const ::testing::TestParamInfo<CornerCase>& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(Polygons, TheCornerCountIsTruncatedAndHeldToThreeToSixteen) {
  for (const auto& [text, n] : {std::pair{"2.9", 3}, {"0", 3}, {"-5", 3}, {"40", 16}, {"6.99", 6}, {"16", 16}}) {
    const int row = addRow("VIELECK", polygon("10", text, "0", "nein", kCw, "mitte"));
    const auto v = panel::Vieleck_Lesen(form_, form_.DatenStringGrid, row);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->n, n) << text;
    EXPECT_EQ(v->eckenK.size(), static_cast<std::size_t>(n) + 1) << text;
  }
}

// The defaults with a 3 mm cutter inside: the circumradius shrinks to 3.5, corner 0 at (8.5, 5).
TEST_F(Polygons, TheCompensationScalesTheCircumradius) {
  panel::Vieleck_Neu(form_);
  auto v = panel::Vieleck_Lesen(form_, form_.DatenStringGrid, 1);
  ASSERT_TRUE(v);
  EXPECT_DOUBLE_EQ(v->wirkRadius, 3.5);
  EXPECT_NEAR(v->eckenK[0].x, 8.5, 1e-12);
  EXPECT_NEAR(v->eckenK[1].x, 6.75, 1e-12);
  EXPECT_NEAR(v->eckenK[1].y, 5.0 + 3.5 * std::sqrt(3.0) / 2.0, 1e-12);
  setCell(1, 9, kCcw);
  v = panel::Vieleck_Lesen(form_, form_.DatenStringGrid, 1);
  EXPECT_NEAR(v->eckenK[1].y, 5.0 - 3.5 * std::sqrt(3.0) / 2.0, 1e-12);

  for (const auto& [word, radius] :
       {std::pair{"aussen", 6.5}, {"aussen-steg", 6.5}, {"innen-tasche", 5.0}, {"mitte", 5.0}, {"Innen", 5.0}}) {
    setCell(1, 10, word);
    EXPECT_DOUBLE_EQ(panel::Vieleck_Lesen(form_, form_.DatenStringGrid, 1)->wirkRadius, radius) << word;
  }
  // A rotation of 90 degrees puts corner 0 straight above the centre.
  setCell(1, 5, "90");
  v = panel::Vieleck_Lesen(form_, form_.DatenStringGrid, 1);
  EXPECT_NEAR(v->ecken[0].x, 5.0, 1e-12);
  EXPECT_NEAR(v->ecken[0].y, 10.0, 1e-12);
}

TEST_F(Polygons, AnInsidePolygonNeedsACircumradiusOfTheCutterDiameter) {
  const int small = addRow("VIELECK", polygon("2.9", "6", "0", "nein", kCw, "innen"));
  const int fits = addRow("VIELECK", polygon("3.0", "6", "0", "nein", kCw, "innen"));
  const int negative = addRow("VIELECK", polygon("-1", "6", "0", "nein", kCw, "mitte"));
  EXPECT_TRUE(mill(small).empty());
  EXPECT_EQ(beeps_, 1);
  EXPECT_FALSE(mill(fits).empty());
  EXPECT_TRUE(mill(negative).empty());
  EXPECT_EQ(beeps_, 2);
}

// Square (4 corners) of radius 10 on the contour: corners (15, 5), (5, 15), (-5, 5), (5, -5)
// clockwise word; the ramp runs down the edge from the corner before corner 0, and that edge is
// cut again at the end.
TEST_F(Polygons, ARampedEntryDescendsAlongTheEdgeIntoCornerZero) {
  const int row = addRow("VIELECK", polygon("10", "4", "0", "ja", kCw, "mitte"));
  EXPECT_EQ(mill(row),
            (Strings{"cncMoveTo 5.00 -5.00", "cncKuehlmittelpumpe 1", "cncLineTo 0 15.00 5.00 1.00",
                     "cncLineTo 1 5.00 15.00 1.00", "cncLineTo 1 -5.00 5.00 1.00", "cncLineTo 1 5.00 -5.00 1.00",
                     "cncLineTo 1 15.00 5.00 1.00", "cncKuehlmittelpumpe 0"}));
  // With the other word the chain runs the other way round, so the ramp's edge is its first and
  // is cut again at once.
  setCell(row, 9, kCcw);
  EXPECT_EQ(mill(row),
            (Strings{"cncMoveTo 5.00 -5.00", "cncKuehlmittelpumpe 1", "cncLineTo 0 15.00 5.00 1.00",
                     "cncLineTo 1 5.00 -5.00 1.00", "cncLineTo 1 -5.00 5.00 1.00", "cncLineTo 1 5.00 15.00 1.00",
                     "cncLineTo 1 15.00 5.00 1.00", "cncKuehlmittelpumpe 0"}));
}

// Square of radius 10 round (5.1, 5.1): corners at pixels (100, 480), (60, 440), (21, 480) and
// (60, 519) (truncated toward zero).
TEST_F(Polygons, AreDrawnAsTheirNominalPolygonAndTheChainOfTheCutterPath) {
  form_.DrawLeerfahrten = true;
  const int row = addRow("VIELECK", polygon("10", "4", "0", "ja", kCw, "mitte"));
  setCell(row, 1, "5.1");
  setCell(row, 2, "5.1");
  canvas_.moveTo(7, 9);
  ASSERT_TRUE(draw(row));
  EXPECT_EQ(lines(), (Strings{"7,9-60,519",                                                          // travel
                              "100,480-60,440", "60,440-21,480", "21,480-60,519", "60,519-100,480",  // outline
                              "60,519-100,480",                                                      // ramp
                              "100,480-60,440", "60,440-21,480", "21,480-60,519", "60,519-100,480"}));
  const auto drawn = canvas_.opsOf(CanvasOp::Kind::LineTo);
  EXPECT_EQ(drawn[1].pen.colour, form_.Farben.FarbeJa);
  EXPECT_EQ(drawn[5].pen.colour, form_.Farben.FarbeEintauchen);
  EXPECT_EQ(drawn[6].pen.colour, form_.Farben.FarbeFraesweg);
  EXPECT_EQ(canvas_.penPos(), (platform::Point{100, 480}));
  // The arrow on the first edge.
  EXPECT_EQ(canvas_.opsOf(CanvasOp::Kind::Polygon).size(), 1u);
}

TEST_F(Polygons, AreHitInTheCircumcirclesBoxAndGrabbedByTheirOwnHandleCodes) {
  const int row = addRow("VIELECK", polygon("10", "6", "0", "nein", kCw, "mitte"));
  expectHitsAndHandles(row, {{20, 440}}, {{20, 439}},
                       {{60, 480, 8}, {39, 480, 9}, {81, 480, 10}, {60, 459, 11}, {60, 501, 12}});
}

}  // namespace
