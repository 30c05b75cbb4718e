// Motion primitives: machine moves in steps (relative and, while recording, absolute), arcs,
// outputs, the travels to the workpiece zero and the park position, the simulation, and the step
// range every live move is checked against.
#include <gtest/gtest.h>

#include <ostream>
#include <sstream>

#include "MachineFixture.h"
#include "machine/FailureCodes.h"
#include "panel/CncMotion.h"

namespace {

using Strings = std::vector<std::string>;

class Motion : public paneltest::MachineFixture {};

TEST_F(Motion, ATravelGoesUpToTheSafetyHeightAndMovesXThenY) {
  motion_.cncMoveTo(1.0, 1.0);
  // Targets: x 400 * 11 = 4400, y 400 * 21 = 8400, surface z 400 * 5 = 2000, safety 800.
  EXPECT_EQ(moves(), (Strings{"1 1 0 0 2000", "1 2 0 0 -800", "1 2 4400 0 0", "1 2 0 8400 0", "1 2 0 0 800"}));
  const auto trace = traceLines();
  EXPECT_EQ(trace.at(0), "    cncMoveTo(1.00, 1.00)");
  EXPECT_EQ(trace.at(1), "      SOLL:Absolut 4400 8400 2000");
  EXPECT_EQ(trace.at(2), "      IST:AktPos    0    0    0");
}

TEST_F(Motion, WhileRecordingATravelIsAbsoluteWithUnmovedAxesAs99999) {
  recording_ = true;
  motion_.cncMoveTo(1.0, 1.0);
  EXPECT_EQ(moves(), (Strings{"0 1 99999 99999 2000", "1 2 0 0 -800", "0 2 4400 99999 99999", "0 2 99999 8400 99999",
                              "1 2 0 0 800"}));
}

TEST_F(Motion, ATravelToWhereTheToolIsMovesNothingEvenInZ) {
  backend_->setPosition(4400, 8400, 123);
  motion_.cncMoveTo(1.0, 1.0);
  EXPECT_TRUE(moves().empty());
}

TEST_F(Motion, WithoutSafetyHeightTheSafetyMovesAreDropped) {
  form_.Abmessungen.Sicherheitsebene = 0.0;
  motion_.cncMoveTo(1.0, 1.0);
  EXPECT_EQ(moves(), (Strings{"1 1 0 0 2000", "1 2 4400 0 0", "1 2 0 8400 0"}));
}

TEST_F(Motion, AFeedMoveMovesAllAxesTogetherAndDrawsTheCut) {
  backend_->setPosition(4400, 8400, 2000);
  motion_.cncLineTo(1, 2.0, 3.0, 0.5);
  EXPECT_EQ(moves(), (Strings{"1 1 400 800 200"}));
  recording_ = true;
  motion_.cncLineTo(0, 2.0, 3.0, 0.5);
  EXPECT_EQ(moves().back(), "0 0 4800 9200 2200");
  const auto lines = canvas_.opsOf(testsupport::CanvasOp::Kind::LineTo);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].args, (std::vector<int>{48, 488}));
  EXPECT_EQ(lines[0].pen.width, 2);
  EXPECT_EQ(lines[0].pen.colour, 0xFF0000u);
  EXPECT_EQ(canvas_.pen().width, 1);
}

TEST_F(Motion, TheToolLengthDifferenceShiftsEveryZButTheParkPosition) {
  params_.zWZLdelta = 1.0;
  params_.xParkposition = 1.0;
  params_.yParkposition = 2.0;
  params_.zParkposition = 3.0;
  motion_.cncLineTo(1, 0.0, 0.0, 0.5);
  EXPECT_EQ(moves().back(), "1 1 4000 8000 1800");  // 400 * (5 + 0.5 - 1)
  backend_->setPosition(0, 0, 0);
  motion_.cncGotoParkposition();
  EXPECT_EQ(moves().back(), "1 2 0 0 1200");  // 400 * 3, no difference
}

TEST_F(Motion, TravelsToTheStoredPositionsLiftToMachineZeroFirst) {
  backend_->setPosition(100, 100, 300);
  motion_.cncGotoWSNullpunkt();
  EXPECT_EQ(moves(), (Strings{"1 2 0 0 -300", "1 2 3900 0 0", "1 2 0 7900 0", "1 2 0 0 2000"}));
  backend_->clearCalls();
  motion_.cncGotoWSNullpunkt();  // already above it: only z
  EXPECT_TRUE(moves().empty());  // the z move of 0 is dropped
  recording_ = true;
  motion_.cncGotoParkposition();
  EXPECT_EQ(moves(), (Strings{"0 2 99999 99999 0", "0 2 0 99999 99999", "0 2 99999 0 99999", "0 2 99999 99999 0"}));
}

struct ArcCase {
  double radius;
  double step;
  friend std::ostream& operator<<(std::ostream& os, const ArcCase& c) { return os << "r" << c.radius; }
};

class ArcSteps : public ::testing::TestWithParam<ArcCase> {};

TEST_P(ArcSteps, KeepEachSegmentShorterThanThreeMillimetres) {
  EXPECT_DOUBLE_EQ(panel::arcStepDegrees(GetParam().radius), GetParam().step);
}

INSTANTIATE_TEST_SUITE_P(Radii, ArcSteps,
                         ::testing::Values(ArcCase{1.0, 10.0}, ArcCase{17.0, 10.0}, ArcCase{20.0, 8.0},
                                           ArcCase{30.0, 4.0}, ArcCase{85.0, 2.0}, ArcCase{100.0, 2.0},
                                           ArcCase{1000.0, 2.0}));

TEST_F(Motion, AClockwiseQuarterFromZeroToNinetySweepsThreeQuartersAndEndsExactly) {
  params_.xWerkstücknullpunkt = params_.yWerkstücknullpunkt = params_.zWerkstücknullpunkt = 0.0;
  backend_->setPosition(4000, 0, 0);
  motion_.cncKreisLineTo(1, 0.0, 0.0, 10.0, 0.0, 90.0, 0.0);
  const auto m = moves();
  EXPECT_EQ(m.size(), 27u);  // 270 degrees in steps of 10
  EXPECT_EQ(backend_->Wert_lesen('x'), 0);
  EXPECT_EQ(backend_->Wert_lesen('y'), 4000);
  // The first step goes clockwise from 360 to 350 degrees: below the x axis.
  std::istringstream first(m.front());
  int mode = 0, index = 0, dx = 0, dy = 0;
  first >> mode >> index >> dx >> dy;
  EXPECT_LT(dy, 0);
}

TEST_F(Motion, ACounterClockwiseArcFromNinetyToZeroRunsUpTo360) {
  params_.xWerkstücknullpunkt = params_.yWerkstücknullpunkt = params_.zWerkstücknullpunkt = 0.0;
  backend_->setPosition(0, 4000, 0);
  motion_.cncKreisLineTo(0, 0.0, 0.0, 10.0, 90.0, 0.0, 0.0);
  EXPECT_EQ(moves().size(), 27u);
  EXPECT_EQ(backend_->Wert_lesen('x'), 4000);
  EXPECT_EQ(backend_->Wert_lesen('y'), 0);
}

TEST_F(Motion, AnArcOfRadiusZeroDoesNothingAndEqualAnglesMakeAFullCircle) {
  motion_.cncKreisLineTo(0, 0.0, 0.0, 0.0, 0.0, 90.0, 0.0);
  EXPECT_TRUE(moves().empty());
  motion_.cncKreisLineTo(0, 0.0, 0.0, 1.0, 45.0, 45.0, 0.0);
  EXPECT_EQ(moves().size(), 36u);
}

TEST_F(Motion, OutputsFollowTheirCheckBoxesAndWaitAfterSwitchingOn) {
  form_.SpindelmotorCheckBox.Checked = true;
  form_.KuehlmittelpumpeCheckBox.Checked = false;
  form_.AbsaugungCheckBox.Checked = true;
  motion_.cncBohrspindel(1);
  motion_.cncKuehlmittelpumpe(1);
  motion_.cncAbsaugung(0);
  EXPECT_EQ(backend_->callsStartingWith("Ausgangssignal_setzen"),
            (Strings{"Ausgangssignal_setzen 1 1", "Ausgangssignal_setzen 3 0"}));
  EXPECT_EQ(clock_.sleeps(), (std::vector<std::int64_t>{2'000'000}));
  Strings primitives;
  for (const auto& line : traceLines())
    if (line.rfind("cnc", 0) == 0) primitives.push_back(line);
  EXPECT_EQ(primitives, (Strings{"cncBohrspindel(1)", "cncKuehlmittelpumpe(1)", "cncAbsaugung(0)"}));
}

TEST_F(Motion, ASimulationOnlyDrawsAndPausesAndEndsOnAStopRequest) {
  form_.SimulationslaufCheckBox.Checked = true;
  form_.SpindelmotorCheckBox.Checked = true;
  motion_.cncMoveTo(1.0, 1.0);
  motion_.cncLineTo(1, 2.0, 2.0, 1.0);
  motion_.cncBohrspindel(1);
  motion_.cncGotoWSNullpunkt();
  EXPECT_TRUE(backend_->calls().empty());
  EXPECT_EQ(clock_.sleeps(), (std::vector<std::int64_t>{60'000, 60'000}));

  bAbbruch_ = true;
  try {
    motion_.cncLineTo(1, 3.0, 3.0, 1.0);
    FAIL() << "the stop request did not end the move";
  } catch (int code) {
    EXPECT_EQ(code, 2000);
  }
  EXPECT_FALSE(bAbbruch_.load());
}

// A move whose step counts the controller could not take ends the run before anything of it is
// sent: huge lengths (a safety height or a line end of 1e9 mm), a tiny gear ratio, a position the
// controller reports far away. Before, the step arithmetic overflowed and moves of 2^31 steps
// went out.
class StepRange;

struct RangeCase {
  const char* name;
  void (*act)(StepRange& rig);
  friend std::ostream& operator<<(std::ostream& os, const RangeCase& c) { return os << c.name; }
};

class StepRange : public paneltest::MachineFixture, public ::testing::WithParamInterface<RangeCase> {
 public:
  using MachineFixture::backend_;
  using MachineFixture::form_;
  using MachineFixture::motion_;
  using MachineFixture::params_;
  using MachineFixture::recording_;
};

TEST_P(StepRange, IsRefusedWithItsOwnCodeAndNothingIsSent) {
  try {
    GetParam().act(*this);
    FAIL() << "the move was not refused";
  } catch (int code) {
    EXPECT_EQ(code, machine::STEP_RANGE_ERROR);
  }
  EXPECT_TRUE(moves().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Moves, StepRange,
    ::testing::Values(RangeCase{"SafetyHeight",
                                [](StepRange& rig) {
                                  rig.form_.Abmessungen.Sicherheitsebene = 1e9;
                                  rig.motion_.cncMoveTo(1.0, 1.0);
                                }},
                      RangeCase{"LineEnd", [](StepRange& rig) { rig.motion_.cncLineTo(1, 1e9, 0.0, 0.0); }},
                      RangeCase{"TinyGearRatio",
                                [](StepRange& rig) {
                                  rig.params_.xUebersetz = 1e-9;
                                  rig.motion_.cncLineTo(1, 1.0, 0.0, 0.0);
                                }},
                      RangeCase{"FarCurrentPosition",
                                [](StepRange& rig) {
                                  rig.backend_->setPosition(-2147483000, 0, 0);
                                  rig.motion_.cncLineTo(1, 1.0, 1.0, 0.0);
                                }},
                      RangeCase{"RecordedTravel",
                                [](StepRange& rig) {
                                  rig.recording_ = true;
                                  rig.motion_.cncMoveTo(3e6, 0.0);
                                }},
                      RangeCase{"ParkPosition",
                                [](StepRange& rig) {
                                  rig.params_.xParkposition = 1e7;
                                  rig.motion_.cncGotoParkposition();
                                }},
                      RangeCase{"PenHeight",
                                [](StepRange& rig) {
                                  rig.motion_.setStiftHoehen(1e9, 0.0);
                                  rig.motion_.cncStiftHebenSenken(1);
                                }}),
    [](const ::testing::TestParamInfo<RangeCase>& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(Motion, AMoveOfExactlyTheLargestStepCountIsSent) {
  // 400 steps per mm from a workpiece zero at x 10 mm: 2.5 million mm are a billion steps.
  motion_.cncLineTo(1, 2.5e6 - 10.0, -20.0, -5.0);
  EXPECT_EQ(moves(), (Strings{"1 1 1000000000 0 0"}));
}

}  // namespace
