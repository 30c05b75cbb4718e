// PLAN rows: the zig-zag of overlapping passes milled and drawn, faces that cannot be milled,
// and the hit and handle tests at their bounds.
#include <ostream>

#include "ObjectTypeFixture.h"
#include "panel/types/TypePlan.h"

namespace {

using Strings = std::vector<std::string>;
using testsupport::CanvasOp;

class PlanRows : public paneltest::ObjectTypeFixture {
 protected:
  int addPlan(const char* breite, const char* hoehe) {
    return addRow("PLAN", {{1, "25.00"}, {2, "25.00"}, {3, breite}, {4, hoehe}, {5, "-1.00"}});
  }
};

// 50 x 50 with a 3 mm cutter: a milling box from -1.5 to 51.5, 24 spacings of 53 / 24 mm (at
// most three quarters of the cutter, so neighbouring passes overlap), 25 passes with both edges.
TEST_F(PlanRows, A50By50FaceWithA3mmCutterRuns25OverlappingPassesUpToTheTopEdge) {
  const int row = addPlan("50.00", "50.00");
  const Strings ys = {"-1.50", "0.71",  "2.92",  "5.12",  "7.33",  "9.54",  "11.75", "13.96", "16.17",
                      "18.38", "20.58", "22.79", "25.00", "27.21", "29.42", "31.62", "33.83", "36.04",
                      "38.25", "40.46", "42.67", "44.88", "47.08", "49.29", "51.50"};
  Strings expected = {"cncMoveTo -1.50 -1.50", "cncKuehlmittelpumpe 1", "cncLineTo 0 -1.50 -1.50 1.00"};
  bool rechts = true;
  for (std::size_t k = 0; k < ys.size(); ++k) {
    const std::string x = rechts ? "51.50" : "-1.50";
    expected.push_back("cncLineTo 1 " + x + " " + ys[k] + " 1.00");
    if (k + 1 < ys.size()) expected.push_back("cncLineTo 1 " + x + " " + ys[k + 1] + " 1.00");
    rechts = !rechts;
  }
  expected.push_back("cncKuehlmittelpumpe 0");
  EXPECT_EQ(mill(row), expected);
  EXPECT_EQ(beeps_, 0);
}

TEST_F(PlanRows, AMillingBoxExactlyThreeQuartersOfTheCutterHighRunsTwoSpacings) {
  // A 4 mm cutter and a face of -1 mm: a box of 3 mm from 23.5 to 26.5.
  form_.Abmessungen.setFraeserdurchmesser(4.0);
  const int row = addPlan("10.00", "-1.00");
  EXPECT_EQ(mill(row),
            (Strings{"cncMoveTo 18.00 23.50", "cncKuehlmittelpumpe 1", "cncLineTo 0 18.00 23.50 1.00",
                     "cncLineTo 1 32.00 23.50 1.00", "cncLineTo 1 32.00 25.00 1.00", "cncLineTo 1 18.00 25.00 1.00",
                     "cncLineTo 1 18.00 26.50 1.00", "cncLineTo 1 32.00 26.50 1.00", "cncKuehlmittelpumpe 0"}));
}

struct Unmillable {
  const char* name;
  double durchmesser;
  const char* hoehe;
  friend std::ostream& operator<<(std::ostream& os, const Unmillable& c) { return os << c.name; }
};

class UnmillablePlan : public PlanRows, public ::testing::WithParamInterface<Unmillable> {};

TEST_P(UnmillablePlan, BeepsMovesNothingAndIsDrawnAsItsBoxWithoutHatch) {
  form_.Abmessungen.setFraeserdurchmesser(GetParam().durchmesser);
  const int row = addPlan("50.00", GetParam().hoehe);
  EXPECT_TRUE(mill(row).empty());
  EXPECT_EQ(beeps_, 1);

  ASSERT_TRUE(draw(row));
  const auto boxes = canvas_.opsOf(CanvasOp::Kind::Rectangle);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].pen.colour, form_.Farben.FarbeUngueltig);
  EXPECT_TRUE(canvas_.opsOf(CanvasOp::Kind::LineTo).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnmillablePlan,
    ::testing::Values(Unmillable{"NoCutter", 0.0, "50.00"}, Unmillable{"NegativeCutter", -3.0, "50.00"},
                      Unmillable{"NoPass", 3.0, "-4.00"}, Unmillable{"AbsurdHeight", 3.0, "1000000000"}),
    [](const ::testing::TestParamInfo<Unmillable>& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(PlanRows, DrawsTheBoxHatchAndDottedPathEndingAtTheLastPass) {
  form_.Abmessungen.setFraeserdurchmesser(20.0);  // a 70 mm box: floor(70 / 15) + 1 = 5 spacings
  const int row = addPlan("50.00", "50.00");
  ASSERT_TRUE(draw(row));
  const auto boxes = canvas_.opsOf(CanvasOp::Kind::Rectangle);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].args, (std::vector<int>{40, 300, 240, 500}));
  EXPECT_EQ(boxes[0].pen.colour, form_.Farben.FarbeJa);
  EXPECT_EQ(boxes[0].brush.style, platform::BrushStyle::Clear);
  // Milling box -10 .. 60 mm is 0 .. 280 px from x 0; passes every 14 mm (56 px).
  const Strings hatch = {"0,540-280,540", "280,540-280,484", "280,484-0,484", "0,484-0,428",
                         "0,428-280,428", "280,428-280,372", "280,372-0,372", "0,372-0,316",
                         "0,316-280,316", "280,316-280,260", "280,260-0,260"};
  Strings both = hatch;
  both.insert(both.end(), hatch.begin(), hatch.end());
  EXPECT_EQ(lines(), both);
  const auto path = canvas_.opsOf(CanvasOp::Kind::LineTo);
  EXPECT_EQ(path.front().pen.style, platform::PenStyle::Solid);
  EXPECT_EQ(path.back().pen.style, platform::PenStyle::Dot);
  EXPECT_EQ(path.back().pen.colour, form_.Farben.FarbeFraesweg);
  EXPECT_EQ(canvas_.penPos(), (platform::Point{0, 260}));
}

// 50 x 50 around (25, 25) at 4 px/mm: pixels x 40..240 and y 300..500, centre (140, 400); the
// centre handle reaches a quarter of the width, 50 px, bounds excluded.
TEST_F(PlanRows, HitsItsBoxWithBoundsAndGrabsTheCentreOnlyWhenSelected) {
  const int row = addPlan("50.00", "50.00");
  for (auto [x, y] : {std::pair{40, 300}, {240, 500}, {140, 400}}) EXPECT_TRUE(select(row, x, y)) << x << "," << y;
  form_.DatenStringGrid.setCells(12, row, "false");
  for (auto [x, y] : {std::pair{39, 400}, {241, 400}, {140, 299}, {140, 501}})
    EXPECT_FALSE(select(row, x, y)) << x << "," << y;

  EXPECT_EQ(handleAt(row, 140, 400), -1);
  form_.DatenStringGrid.setCells(12, row, "true");
  EXPECT_EQ(handleAt(row, 189, 351), 0);
  EXPECT_EQ(handleAt(row, 91, 449), 0);
  EXPECT_EQ(handleAt(row, 190, 400), -1);
  EXPECT_EQ(handleAt(row, 140, 350), -1);
}

}  // namespace
