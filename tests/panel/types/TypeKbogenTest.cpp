// Circular arcs: the milling frame round the arc, the words that compensate it, which arcs can be
// milled, the sweeps the arc primitive cuts (across 0 degrees, full turns and two turns), the
// drawing, the extent and the handles.
#include <ostream>

#include "MachineFixture.h"
#include "ObjectTypeFixture.h"
#include "panel/ObjectTypes.h"
#include "panel/types/TypeKbogen.h"

namespace {

using Strings = std::vector<std::string>;
using paneltest::Cells;
using testsupport::CanvasOp;

const char* const kCw = "Uhrzeigersinn";
const char* const kCcw = "Gegenuhrzeigersinn";

Cells arc(const char* radius, const char* start, const char* end, const char* richtung, const char* korrektur) {
  return {{1, "20.00"}, {2, "20.00"}, {3, radius}, {4, start}, {5, end}, {6, "-1.00"}, {9, richtung}, {10, korrektur}};
}

class Arcs : public paneltest::ObjectTypeFixture {};

// The new arc: radius 5 round (5, 5) inside with a 3 mm cutter runs at 3.5 from 135 to 315
// degrees clockwise, the half circle through 0 degrees.
TEST_F(Arcs, TheNewArcTravelsToItsStartPlungesAndCutsFromTheStartToTheEndAngle) {
  form_.Abmessungen.Standardtiefe = -1.0;
  const int row = panel::Kbogen_Neu(form_);
  EXPECT_EQ(mill(row), (Strings{"cncMoveTo 2.53 7.47", "cncKuehlmittelpumpe 1", "cncLineTo 0 2.53 7.47 1.00",
                                "cncKreisLineTo 1 5.00 5.00 3.50 135.00 315.00 1.00", "cncKuehlmittelpumpe 0"}));
}

TEST_F(Arcs, OnlyInnenAndAussenCompensate) {
  for (const auto& [word, radius] : {std::pair{"innen", 8.5},
                                     {"aussen", 11.5},
                                     {"innen-tasche", 10.0},
                                     {"aussen-steg", 10.0},
                                     {"mitte", 10.0},
                                     {"Aussen", 10.0}}) {
    const int row = addRow("KBOGEN", arc("10", "0", "90", kCcw, word));
    const auto b = panel::Kbogen_Lesen(form_, form_.DatenStringGrid, row);
    ASSERT_TRUE(b);
    EXPECT_DOUBLE_EQ(b->wirkRadius, radius) << word;
    EXPECT_DOUBLE_EQ(b->start.x, 20.0 + radius) << word;
    EXPECT_NEAR(b->ende.y, 20.0 + radius, 1e-12) << word;
  }
}

struct ValidityCase {
  const char* name;
  Cells cells;
  bool gueltig;
  friend std::ostream& operator<<(std::ostream& os, const ValidityCase& c) { return os << c.name; }
};

class ArcValidity : public paneltest::ObjectTypeFixture, public ::testing::WithParamInterface<ValidityCase> {};

TEST_P(ArcValidity, DecidesWhetherTheArcCanBeMilled) {
  const int row = addRow("KBOGEN", GetParam().cells);
  EXPECT_EQ(mill(row).empty(), !GetParam().gueltig);
  EXPECT_EQ(beeps_, GetParam().gueltig ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArcValidity,
    ::testing::Values(ValidityCase{"InnenBelowTheCutterRadius", arc("1.4", "0", "90", kCw, "innen"), false},
                      ValidityCase{"InnenAtTheCutterRadius", arc("1.5", "0", "90", kCw, "innen"), true},
                      ValidityCase{"NoRadiusOnTheContour", arc("0", "0", "90", kCw, "mitte"), true},
                      ValidityCase{"NegativeRadius", arc("-1", "0", "90", kCw, "mitte"), false},
                      ValidityCase{"TenTurns", arc("5", "0", "3600", kCcw, "mitte"), true},
                      ValidityCase{"BeyondTenTurns", arc("5", "0", "3601", kCcw, "mitte"), false},
                      ValidityCase{"BeyondTenTurnsClockwise", arc("5", "3601", "0", kCw, "mitte"), false}),
    [](const ::testing::TestParamInfo<ValidityCase>& caseInfo) { return std::string(caseInfo.param.name); });

struct SweepCase {
  const char* name;
  const char* richtung;
  const char* start;
  const char* end;
  int segmente;
  friend std::ostream& operator<<(std::ostream& os, const SweepCase& c) { return os << c.name; }
};

// The arc through the real motion primitives, simulated: radius 5 is cut in steps of 10 degrees,
// so the number of cuts after the plunge is the sweep in tens of degrees.
class ArcSweeps : public paneltest::MachineFixture, public ::testing::WithParamInterface<SweepCase> {};

TEST_P(ArcSweeps, CutTheSweepOfTheArcPrimitiveAndEndOnTheEndAngle) {
  form_.SimulationslaufCheckBox.Checked = true;
  form_.Abmessungen.setFraeserdurchmesser(3.0);
  const panel::ObjectTypeTable types = panel::standardObjectTypes();
  Cells cells = arc("5", GetParam().start, GetParam().end, GetParam().richtung, "mitte");
  // Off the pixel grid, so that no end point lies on a pixel boundary.
  cells[0].second = "20.1";
  cells[1].second = "20.1";
  const int row = panel::appendObjectRow(form_, "KBOGEN", cells);
  const auto bogen = panel::Kbogen_Lesen(form_, form_.DatenStringGrid, row);
  ASSERT_TRUE(bogen);
  panel::MillContext context{form_, types, motion_};
  ASSERT_TRUE(types[panel::KonturTyp::Kbogen].millRow(context, form_.DatenStringGrid, row));

  std::vector<CanvasOp> cuts;
  for (const CanvasOp& op : canvas_.opsOf(CanvasOp::Kind::LineTo))
    if (op.pen.width == 2) cuts.push_back(op);
  ASSERT_EQ(cuts.size(), 1u + static_cast<std::size_t>(GetParam().segmente));
  EXPECT_EQ((platform::Point{cuts.back().args[0], cuts.back().args[1]}), bogen->pEnde);
}

INSTANTIATE_TEST_SUITE_P(Cases, ArcSweeps,
                         ::testing::Values(SweepCase{"ClockwiseAcrossZero", kCw, "10", "350", 2},
                                           SweepCase{"CounterClockwiseAcrossZero", kCcw, "350", "10", 2},
                                           SweepCase{"CounterClockwiseTheLongWay", kCcw, "10", "350", 34},
                                           SweepCase{"EqualAnglesAFullTurn", kCw, "135", "135", 36},
                                           SweepCase{"EqualAnglesAFullTurnCounterClockwise", kCcw, "135", "135", 36},
                                           SweepCase{"TwoTurns", kCcw, "0", "720", 72},
                                           SweepCase{"TwoTurnsClockwise", kCw, "720", "0", 72}),
                         [](const ::testing::TestParamInfo<SweepCase>& caseInfo) {
                           return std::string(caseInfo.param.name);
                         });

// Round pixel (120, 420), radius 10 (40 px) on the contour: the arc from 0 to 90 degrees
// counter-clockwise starts at pixel (160, 420) and ends at (120, 380).
TEST_F(Arcs, AreDrawnFromTheStartToTheEndAngleAndLeaveThePenAtTheEnd) {
  form_.DrawLeerfahrten = true;
  const int row = addRow("KBOGEN", arc("10", "0", "90", kCcw, "mitte"));
  canvas_.moveTo(7, 9);
  ASSERT_TRUE(draw(row));
  const auto travel = canvas_.opsOf(CanvasOp::Kind::LineTo);
  ASSERT_EQ(travel.size(), 1u);
  EXPECT_EQ(travel[0].args, (std::vector<int>{160, 420}));
  const auto arcs = canvas_.opsOf(CanvasOp::Kind::Arc);
  ASSERT_EQ(arcs.size(), 2u);
  EXPECT_EQ(arcs[0].args, (std::vector<int>{80, 380, 160, 460, 160, 420, 120, 380}));
  EXPECT_EQ(arcs[0].pen.colour, form_.Farben.FarbeJa);
  EXPECT_EQ(arcs[1].pen.colour, form_.Farben.FarbeFraesweg);
  EXPECT_EQ(arcs[1].pen.style, platform::PenStyle::Dot);
  EXPECT_EQ(canvas_.penPos(), (platform::Point{120, 380}));

  // Clockwise the canvas draws the same arc from its end.
  setCell(row, 9, kCw);
  canvas_.clear();
  ASSERT_TRUE(draw(row));
  EXPECT_EQ(canvas_.opsOf(CanvasOp::Kind::Arc)[0].args, (std::vector<int>{80, 380, 160, 460, 120, 380, 160, 420}));
}

TEST_F(Arcs, TheExtentIsTheWholeCircleAndGrowsByTheCutterOnlyOutside) {
  const int innen = addRow("KBOGEN", arc("10", "0", "90", kCcw, "innen"));
  const int aussen = addRow("KBOGEN", arc("10", "0", "90", kCcw, "aussen"));
  form_.Ausdehnung = {100, 100, -100, -100};
  draw(innen);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.xMin, 10.0);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.yMin, 10.0);
  draw(aussen);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.xMin, 8.5);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.yMax, 31.5);
}

TEST_F(Arcs, AreHitInTheirCirclesBoxAndGrabbedByTheirOwnHandleCodes) {
  const int row = addRow("KBOGEN", arc("10", "0", "90", kCcw, "mitte"));
  expectHitsAndHandles(row, {{80, 460}}, {{79, 460}},
                       {{120, 420, 18}, {99, 420, 19}, {141, 420, 20}, {120, 399, 21}, {120, 441, 22}});
}

}  // namespace
