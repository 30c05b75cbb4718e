// PUNKT and LINIE1 rows: their milling paths, their drawing where it matters to the chain of
// travel lines, and the hit and handle tests at their bounds.
#include <ostream>

#include "ObjectTypeFixture.h"

namespace {

using Strings = std::vector<std::string>;
using paneltest::Cells;
using testsupport::CanvasOp;

struct PathCase {
  const char* name;
  const char* keyword;
  Cells cells;
  Strings moves;
  friend std::ostream& operator<<(std::ostream& os, const PathCase& c) { return os << c.name; }
};

class Paths : public paneltest::ObjectTypeFixture, public ::testing::WithParamInterface<PathCase> {};

TEST_P(Paths, MillExactlyThisSequence) {
  const int row = addRow(GetParam().keyword, GetParam().cells);
  EXPECT_EQ(mill(row), GetParam().moves);
  EXPECT_EQ(beeps_, 0);
}

const Cells kLinie = {{1, "0.00"},  {2, "0.00"}, {3, "5.00"},          {4, "5.00"},
                      {5, "-1.00"}, {8, "nein"}, {9, "Uhrzeigersinn"}, {10, "mitte"}};

// The cells with one of them replaced or added.
Cells with(Cells cells, int col, const char* text) {
  for (auto& [c, t] : cells) {
    if (c == col) {
      t = text;
      return cells;
    }
  }
  cells.emplace_back(col, text);
  return cells;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Paths,
    ::testing::Values(PathCase{"Punkt",
                               "PUNKT",
                               {{1, "5.00"}, {2, "7.00"}, {3, "-2.50"}},
                               {"cncMoveTo 5.00 7.00", "cncKuehlmittelpumpe 1", "cncLineTo 0 5.00 7.00 2.50",
                                "cncKuehlmittelpumpe 0"}},
                      PathCase{"PunktNotJa", "PUNKT", {{1, "5.00"}, {2, "7.00"}, {3, "-2.50"}, {11, "Ja"}}, {}},
                      PathCase{"Linie",
                               "LINIE1",
                               kLinie,
                               {"cncMoveTo 0.00 0.00", "cncKuehlmittelpumpe 1", "cncLineTo 0 0.00 0.00 1.00",
                                "cncLineTo 1 5.00 5.00 1.00", "cncKuehlmittelpumpe 0"}},
                      PathCase{"LinieIgnoresCompensation",
                               "LINIE1",
                               with(kLinie, 10, "aussen"),
                               {"cncMoveTo 0.00 0.00", "cncKuehlmittelpumpe 1", "cncLineTo 0 0.00 0.00 1.00",
                                "cncLineTo 1 5.00 5.00 1.00", "cncKuehlmittelpumpe 0"}},
                      PathCase{"LinieBackwardsWithRamp",
                               "LINIE1",
                               with(with(kLinie, 9, "Gegenuhrzeigersinn"), 8, "ja"),
                               {"cncMoveTo 2.50 2.50", "cncKuehlmittelpumpe 1", "cncLineTo 0 5.00 5.00 1.00",
                                "cncLineTo 1 0.00 0.00 1.00", "cncKuehlmittelpumpe 0"}},
                      PathCase{"LinieOfNoLength",
                               "LINIE1",
                               with(kLinie, 3, "0"),
                               {"cncMoveTo 0.00 0.00", "cncKuehlmittelpumpe 1", "cncLineTo 0 0.00 0.00 1.00",
                                "cncLineTo 1 0.00 5.00 1.00", "cncKuehlmittelpumpe 0"}}),
    [](const ::testing::TestParamInfo<PathCase>& caseInfo) { return std::string(caseInfo.param.name); });

class PointsAndLines : public paneltest::ObjectTypeFixture {};

TEST_F(PointsAndLines, AnObjectThatIsNotMilledIsDrawnInItsModeAndLeavesThePenWhereItWas) {
  form_.DrawLeerfahrten = true;
  const int punkt = addRow("PUNKT", {{1, "5.00"}, {2, "5.00"}, {3, "-1.00"}, {11, "nein"}});
  const int linie = addRow("LINIE1", with(kLinie, 11, "nur zeichnen"));
  canvas_.moveTo(7, 9);
  ASSERT_TRUE(draw(punkt));
  ASSERT_TRUE(draw(linie));
  // No travel line, no tool path: only the cross (k = 1.5 x 4 / 3 = 2 px) and the line.
  EXPECT_EQ(lines(), (Strings{"58,478-62,482", "62,478-58,482", "40,500-60,480"}));
  const auto drawn = canvas_.opsOf(CanvasOp::Kind::LineTo);
  EXPECT_EQ(drawn[0].pen.colour, form_.Farben.FarbeNein);
  EXPECT_EQ(drawn[2].pen.colour, form_.Farben.FarbeNurZeichnen);
  EXPECT_EQ(drawn[2].pen.style, platform::PenStyle::Dot);
  EXPECT_EQ(canvas_.penPos(), (platform::Point{7, 9}));
}

TEST_F(PointsAndLines, AMilledObjectJoinsTheChainOfTravelLines) {
  form_.DrawLeerfahrten = true;
  const int punkt = addRow("PUNKT", {{1, "5.00"}, {2, "5.00"}, {3, "-1.00"}});
  const int linie = addRow("LINIE1", with(with(kLinie, 9, "Gegenuhrzeigersinn"), 8, "ja"));
  canvas_.moveTo(7, 9);
  ASSERT_TRUE(draw(punkt));
  ASSERT_TRUE(draw(linie));
  const auto drawn = canvas_.opsOf(CanvasOp::Kind::LineTo);
  // Travel to the point, the cross; travel to where the ramp line ends (the start), the line
  // from its end back to its start, and the same dotted as the lead-in.
  EXPECT_EQ(lines(), (Strings{"7,9-60,480", "58,478-62,482", "62,478-58,482", "60,480-40,500", "60,480-40,500",
                              "60,480-40,500"}));
  EXPECT_EQ(drawn[0].pen.colour, form_.Farben.FarbeLeerfahrt);
  EXPECT_EQ(drawn[5].pen.colour, form_.Farben.FarbeEintauchen);
  // Arrow heads both ways along a line entered on a ramp; the circle of the point's path.
  EXPECT_EQ(canvas_.opsOf(CanvasOp::Kind::Polygon).size(), 2u);
  EXPECT_EQ(canvas_.opsOf(CanvasOp::Kind::Ellipse).size(), 1u);
  EXPECT_EQ(canvas_.penPos(), (platform::Point{40, 500}));
}

// The point (5, 5) lies at pixel (60, 480); the cutter radius is 6 px.
TEST_F(PointsAndLines, APointIsHitWithinTheCutterAndGrabbedStrictlyInside) {
  const int row = addRow("PUNKT", {{1, "5.00"}, {2, "5.00"}, {3, "-1.00"}});
  for (auto [x, y] : {std::pair{54, 474}, {66, 486}}) EXPECT_TRUE(select(row, x, y)) << x << "," << y;
  for (auto [x, y] : {std::pair{53, 480}, {67, 480}, {60, 473}, {60, 487}})
    EXPECT_FALSE(select(row, x, y)) << x << "," << y;
  EXPECT_EQ(handleAt(row, 65, 485), 1);
  EXPECT_EQ(handleAt(row, 66, 480), -1);
  form_.DatenStringGrid.setCells(12, row, "false");
  EXPECT_EQ(handleAt(row, 60, 480), -1);
}

struct LineHandle {
  int x;
  int code;
};

// From (0, 0) to (5, 5): pixels 40 to 60 in x, the middle at 50, q = 5.
TEST_F(PointsAndLines, ALineIsGrabbedByXAloneAtItsStartEndAndMiddle) {
  const int row = addRow("LINIE1", kLinie);
  for (auto [x, y] : {std::pair{36, 504}, {64, 476}}) EXPECT_TRUE(select(row, x, y)) << x << "," << y;
  for (auto [x, y] : {std::pair{35, 490}, {65, 490}, {50, 475}, {50, 505}})
    EXPECT_FALSE(select(row, x, y)) << x << "," << y;

  form_.DatenStringGrid.setCells(12, row, "true");
  for (const LineHandle& h :
       {LineHandle{25, -1}, {26, 2}, {44, 2}, {45, -1}, {46, 4}, {54, 4}, {55, -1}, {56, 3}, {74, 3}, {75, -1}})
    EXPECT_EQ(handleAt(row, h.x, 0), h.code) << h.x;
}

// From (5, 0) to (0, 0), drawn right to left: its left end is the end handle, its right end the
// start handle; the end handle's zone reaches 15 px into the middle.
TEST_F(PointsAndLines, ALineDrawnRightToLeftOffersItsEndOnTheLeft) {
  const int row = addRow("LINIE1", {{1, "5.00"}, {2, "0.00"}, {3, "0.00"}, {4, "0.00"}});
  form_.DatenStringGrid.setCells(12, row, "true");
  for (const LineHandle& h : {LineHandle{25, -1}, {26, 3}, {56, 3}, {59, 3}, {60, 2}, {74, 2}, {75, -1}})
    EXPECT_EQ(handleAt(row, h.x, 490), h.code) << h.x;

  const int vertical = addRow("LINIE1", {{1, "0.00"}, {2, "0.00"}, {3, "0.00"}, {4, "5.00"}});
  form_.DatenStringGrid.setCells(12, vertical, "true");
  for (const LineHandle& h : {LineHandle{25, -1}, {26, 3}, {54, 3}, {55, -1}})
    EXPECT_EQ(handleAt(vertical, h.x, 0), h.code) << h.x;
}

}  // namespace
