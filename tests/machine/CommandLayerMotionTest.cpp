// Tests of moves and homing through the command layer: the skip rule, the stop check, the wait
// for a protocol controller's final answer, the step range, the homing order and the mm/step
// conversions.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "CommandLayerRig.h"
#include "ThrownCode.h"
#include "machine/FailureCodes.h"
#include "machine/TraceFormat.h"

namespace {

using machinetest::CommandLayerRig;
using machinetest::thrownCode;

// One type of each family, and an unassigned one.
const int kFamilyTypes[] = {0, 1, 2, 3, 5, 10, 8};

TEST(Vektorfahrt, RelativeMoveOfNothingIsDroppedButStillEndsAPendingStop) {
  for (int type : kFamilyTypes) {
    CommandLayerRig rig(type);
    rig.createAllBackends();
    rig.layer.Vektorfahrt_ausfuehren(1, 1, 0, 0, 0, 1);
    EXPECT_EQ(rig.calls(), "") << type;

    rig.stop = true;
    EXPECT_EQ(thrownCode([&] { rig.layer.Vektorfahrt_ausfuehren(1, 1, 0, 0, 0, 1); }), machine::USER_ABORT) << type;
    EXPECT_FALSE(rig.stop.load()) << type;
    EXPECT_EQ(rig.calls(), "") << type;
    // The stop is reported once: the next move runs normally.
    EXPECT_EQ(thrownCode([&] { rig.layer.Vektorfahrt_ausfuehren(1, 1, 0, 0, 0, 1); }), -1) << type;
  }
}

TEST(Vektorfahrt, AbsoluteMoveToZeroIsSent) {
  const struct {
    int type;
    std::string calls;
  } cases[] = {
      {0, "Garnet Vektorfahrt_ausfuehren 0 2 0 0 0"},
      {2, "Beryl Vektorfahrt_ausfuehren 0 2 0 0 0 1 | Beryl Warten_bis_bereit"},
      {5, "zelkoCOM Vektorfahrt_ausfuehren 0 2 0 0 0"},
  };
  for (const auto& c : cases) {
    CommandLayerRig rig(c.type);
    rig.createAllBackends();
    rig.layer.Vektorfahrt_ausfuehren(0, 2, 0, 0, 0, 1);
    EXPECT_EQ(rig.calls(), c.calls) << c.type;
  }
}

TEST(Vektorfahrt, ACountBeyondTheStepRangeIsRefusedBeforeAnythingIsSent) {
  for (int type : kFamilyTypes) {
    for (const std::array<int, 4> move :
         {std::array<int, 4>{1, 1000000001, 0, 0}, {1, 0, -1000000001, 0}, {0, 99999, 99999, 2147483647}}) {
      CommandLayerRig rig(type);
      rig.createAllBackends();
      EXPECT_EQ(thrownCode([&] { rig.layer.Vektorfahrt_ausfuehren(move[0], 1, move[1], move[2], move[3], 1); }),
                machine::STEP_RANGE_ERROR)
          << type;
      EXPECT_EQ(rig.calls(), "") << type;
    }
    CommandLayerRig rig(type);
    rig.createAllBackends();
    EXPECT_EQ(thrownCode([&] { rig.layer.Vektorfahrt_ausfuehren(1, 1, 1000000000, -1000000000, 0, 1); }), -1) << type;
  }
}

TEST(StopCheck, StopDuringAMoveOrHomingRunEndsItWithUserAbortAfterTheBackEndReturned) {
  for (int type : kFamilyTypes) {
    for (bool homing : {false, true}) {
      CommandLayerRig rig(type);
      rig.createAllBackends();
      // The stop button is pressed while the back-end works.
      rig.log.onCall = [&](const std::string&) { rig.stop = true; };
      if (type == 8) rig.stop = true;  // nothing is called, the request is already there
      const int code = thrownCode([&] {
        if (homing) {
          rig.layer.Referenzfahrt_ausfuehren("x");
        } else {
          rig.layer.Vektorfahrt_ausfuehren(1, 1, 4, 0, 0, 1);
        }
      });
      EXPECT_EQ(code, machine::USER_ABORT) << type << " homing " << homing;
      EXPECT_FALSE(rig.stop.load()) << type << " homing " << homing;
    }
  }
}

TEST(StopCheck, FailingBackEndPassesItsCodeAndLeavesTheStopRequestSet) {
  for (int type : {0, 1, 2, 3, 5}) {
    for (bool homing : {false, true}) {
      CommandLayerRig rig(type);
      rig.createAllBackends();
      // The stop button is pressed while the back-end works, and then the back-end fails.
      rig.log.onCall = [&](const std::string&) {
        rig.stop = true;
        throw machine::COMMUNICATION_ERROR;
      };
      const int code = thrownCode([&] {
        if (homing) {
          rig.layer.Referenzfahrt_ausfuehren("x");
        } else {
          rig.layer.Vektorfahrt_ausfuehren(1, 1, 4, 0, 0, 1);
        }
      });
      EXPECT_EQ(code, machine::COMMUNICATION_ERROR) << type << " homing " << homing;
      EXPECT_TRUE(rig.stop.load()) << type << " homing " << homing;
    }
  }
}

TEST(StopCheck, AStopThatStandsEndsAMoveOrHomingRunBeforeItIsSentOnEveryType) {
  // A stop pressed while the job stands between two moves finds a standing machine: the next move
  // must not be sent, or it would run its whole length before the stop is reported.
  for (int type : {0, 1, 4, 7, 2, 3, 5, 6, 10, 11, 12, 13}) {
    for (bool homing : {false, true}) {
      CommandLayerRig rig(type);
      rig.createAllBackends();
      rig.stop = true;
      const auto run = [&] {
        if (homing) {
          rig.layer.Referenzfahrt_ausfuehren("x");
        } else {
          rig.layer.Vektorfahrt_ausfuehren(1, 1, 4, 0, 0, 1);
        }
      };
      EXPECT_EQ(thrownCode(run), machine::USER_ABORT) << type << " homing " << homing;
      EXPECT_EQ(rig.calls(), "") << type << " homing " << homing;
      EXPECT_FALSE(rig.stop.load()) << type << " homing " << homing;
      // Found once: the next one is sent.
      rig.log.lines.clear();
      EXPECT_EQ(thrownCode(run), -1) << type << " homing " << homing;
      EXPECT_FALSE(rig.calls().empty()) << type << " homing " << homing;
    }
  }
}

TEST(AchsenAnhalten, SetsTheStopRequestForEveryTypeEvenWhenTheBackEndFailsToStop) {
  for (int type : {0, 1, 4, 7, 2, 3, 5, 6, 10, 11, 12, 13, 8, 9, 14}) {
    CommandLayerRig rig(type);
    rig.createAllBackends();
    rig.layer.Achsen_anhalten();
    EXPECT_TRUE(rig.stop.load()) << type;
  }
  for (int type : {0, 2, 5}) {
    CommandLayerRig rig(type);
    rig.createAllBackends();
    rig.log.onCall = [](const std::string&) { throw machine::WAIT_TIMEOUT; };
    EXPECT_EQ(thrownCode([&] { rig.layer.Achsen_anhalten(); }), machine::WAIT_TIMEOUT) << type;
    // The running job still ends at its next stop check.
    EXPECT_TRUE(rig.stop.load()) << type;
  }
}

TEST(FinalAnswer, NakToAMoveOrHomingWaitsWithoutLimitAckDoesNot) {
  for (int type : {5, 6, 10, 13}) {
    CommandLayerRig rig(type);
    rig.createAllBackends();
    rig.factory.zelkoCOM->answerStart = 0x15;
    rig.layer.Vektorfahrt_ausfuehren(1, 2, 0, 0, 7, 1);
    rig.layer.Referenzfahrt_ausfuehren("zxy");
    EXPECT_EQ(rig.calls(),
              "zelkoCOM Vektorfahrt_ausfuehren 1 2 0 0 7 | zelkoCOM WaitResp -1 | "
              "zelkoCOM Referenzfahrt_ausfuehren zxy | zelkoCOM WaitResp -1")
        << type;

    // In program-store mode the controller answers ACK and nothing follows.
    rig.log.lines.clear();
    rig.factory.zelkoCOM->answerStart = 0x06;
    rig.layer.Vektorfahrt_ausfuehren(0, 2, 99999, 10, 99999, 1);
    rig.layer.Referenzfahrt_ausfuehren("zxy");
    EXPECT_EQ(rig.calls(), "zelkoCOM Vektorfahrt_ausfuehren 0 2 99999 10 99999 | zelkoCOM Referenzfahrt_ausfuehren zxy")
        << type;
  }
}

TEST(ReferenzfahrtReihenfolge, OrderFollowsTheReferenceNumbersOfTheSelectedAxes) {
  const struct {
    int nx, ny, nz, nu;
    int sx, sy, sz, su;
    std::string order;
  } cases[] = {
      {2, 3, 1, 4, 1, 1, 1, 0, "zxy"},      {1, 1, 2, 2, 1, 1, 1, 1, "xyzu"},  // equal numbers keep axis order
      {2, 3, 1, 4, 1, 0, 1, 1, "zxu"},                                         // y left out whatever its number
      {2, 3, 1, 4, 0, 0, 0, 0, ""},         {4, 3, 2, 1, 1, 1, 1, 1, "uzyx"},
      {0, 2, 1, -3, 1, 1, 1, 1, "zy"},                                         // numbers of 0 and below are never homed
      {99, 1, 150, 2, 1, 1, 1, 1, "yuxz"},                                     // 99 and above come last, in axis order
      {99, 99, 99, 99, 1, 1, 1, 1, "xyzu"}, {1, 2, 3, 4, -1, 1, 1, 2, "yzu"},  // a negative flag does not select
  };
  for (const auto& c : cases) {
    CommandLayerRig rig(5);
    rig.params.xRefNr = c.nx;
    rig.params.yRefNr = c.ny;
    rig.params.zRefNr = c.nz;
    rig.params.uRefNr = c.nu;
    EXPECT_EQ(rig.layer.Referenzfahrt_Reihenfolge_Text(c.sx, c.sy, c.sz, c.su), c.order) << c.order;
  }
}

TEST(ReferenzfahrtReihenfolge, ParallelPortTypesHomeOneAxisPerRunOthersAllInOne) {
  const struct {
    int type;
    std::string calls;
  } cases[] = {
      {0, "Garnet Referenzfahrt_ausfuehren z | Garnet Referenzfahrt_ausfuehren x | Garnet Referenzfahrt_ausfuehren y"},
      {4,
       "TaktRicht Referenzfahrt_ausfuehren z | TaktRicht Referenzfahrt_ausfuehren x | "
       "TaktRicht Referenzfahrt_ausfuehren y"},
      {2, "Beryl Referenzfahrt_ausfuehren zxy"},
      {3, "Kyro Referenzfahrt_ausfuehren zxy"},
      {6, "zelkoCOM Referenzfahrt_ausfuehren zxy"},
      {12, "zelkoCOM Referenzfahrt_ausfuehren zxy"},
      {9, ""},
  };
  for (const auto& c : cases) {
    CommandLayerRig rig(c.type);
    rig.createAllBackends();
    rig.layer.Referenzfahrt_Reihenfolge(1, 1, 1, 0);
    EXPECT_EQ(rig.calls(), c.calls) << c.type;
  }

  // One trace line per homing run.
  CommandLayerRig rig(1);
  rig.createAllBackends();
  rig.layer.Referenzfahrt_Reihenfolge(1, 1, 1, 0);
  EXPECT_EQ(CommandLayerRig::traceLines(),
            (std::vector<std::string>{"Referenzfahrt_ausfuehren(z)", "Referenzfahrt_ausfuehren(x)",
                                      "Referenzfahrt_ausfuehren(y)"}));
}

TEST(ReferenzfahrtReihenfolge, NoAxisSelectedIsOneEmptyRunExceptOnTheParallelPort) {
  for (int type : {2, 3, 5, 6, 10, 11, 12, 13}) {
    CommandLayerRig rig(type);
    rig.createAllBackends();
    rig.layer.Referenzfahrt_Reihenfolge(0, 0, 0, 0);
    EXPECT_EQ(rig.log.lines.size(), 1u) << type;
    EXPECT_EQ(rig.log.lines.at(0).substr(rig.log.lines.at(0).find(' ')), " Referenzfahrt_ausfuehren ") << type;
  }
  for (int type : {0, 1, 8}) {
    CommandLayerRig rig(type);
    rig.createAllBackends();
    rig.layer.Referenzfahrt_Reihenfolge(0, 0, 0, 0);
    EXPECT_EQ(rig.calls(), "") << type;
  }
}

TEST(ReferenzfahrtReihenfolge, StopDuringTheFirstAxisEndsTheSequence) {
  CommandLayerRig rig(7);
  rig.createAllBackends();
  rig.log.onCall = [&](const std::string& line) {
    if (line == "TaktRicht Referenzfahrt_ausfuehren z") rig.stop = true;
  };
  EXPECT_EQ(thrownCode([&] { rig.layer.Referenzfahrt_Reihenfolge(1, 1, 1, 0); }), machine::USER_ABORT);
  EXPECT_EQ(rig.calls(), "TaktRicht Referenzfahrt_ausfuehren z");
  EXPECT_FALSE(rig.stop.load());
}

TEST(Conversions, MillimetresToStepsTruncateTowardZeroAndSaturate) {
  CommandLayerRig rig(5);
  auto& p = rig.params;
  p.xMotStep = 400, p.xUebersetz = 1.0;
  p.yMotStep = 400, p.yUebersetz = 0.0;
  p.zMotStep = 200, p.zUebersetz = 4.0;
  p.uMotStep = 0, p.uUebersetz = 2.0;
  constexpr int kMax = std::numeric_limits<int>::max();
  constexpr int kMin = std::numeric_limits<int>::min();
  const struct {
    char axis;
    double mm;
    int steps;
  } cases[] = {
      {'x', 2.3, 919},  // 400 * 2.3 is just below 920
      {'x', 0.0049, 1}, {'x', -0.0049, -1}, {'x', 1.0, 400},   {'X', 1.0, 400},    {'Z', 10.0, 500},
      {'y', 5.0, 0},  // gear ratio 0
      {'u', 5.0, 0},    {'q', 1.0, 0},      {'x', 1e12, kMax}, {'x', -1e12, kMin}, {'x', std::nan(""), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(rig.layer.mm_in_Schritte(c.axis, c.mm), c.steps) << c.axis << " " << c.mm;

  EXPECT_DOUBLE_EQ(rig.layer.Schritte_in_mm('x', 919), 2.2975);
  EXPECT_DOUBLE_EQ(rig.layer.Schritte_in_mm('Z', -50), -1.0);
  EXPECT_DOUBLE_EQ(rig.layer.Schritte_in_mm('u', 100), 0.0);  // no motor steps
  EXPECT_DOUBLE_EQ(rig.layer.Schritte_in_mm('w', 100), 0.0);

  // The position in millimetres goes through the back-end's step count.
  rig.createAllBackends();
  rig.factory.zelkoCOM->setPosition(0, 0, 300);
  EXPECT_DOUBLE_EQ(rig.layer.Position_mm_abfragen('z'), 6.0);
}

TEST(Conversions, ReferenceOffsetIsRoundedUpForLowerCaseAxesOnly) {
  CommandLayerRig rig(5);
  rig.createAllBackends();
  rig.params.yUebersetz = 0.0;
  const struct {
    char axis;
    double mm;
    std::string call;
  } cases[] = {
      {'x', 0.25, "x 100"},        {'x', 0.2501, "x 101"}, {'x', -0.2501, "x -100"},  // up means toward plus infinity
      {'X', 0.25, "X 0"},          {'y', 0.25, "y 0"},                                // gear ratio 0
      {'x', 1e12, "x 2147483647"},
  };
  for (const auto& c : cases) {
    rig.log.lines.clear();
    rig.layer.Referenzoffset_einstellen(c.axis, c.mm);
    EXPECT_EQ(rig.calls(), "zelkoCOM Referenzoffset_einstellen " + c.call) << c.call;
  }
}

TEST(TraceLines, NumbersAreWrittenWithoutTheLocale) {
  CommandLayerRig rig(8);
  rig.layer.Vektorfahrt_ausfuehren(1, 2, 12, -34, 123456, 1);
  rig.layer.Vektorfahrt_ausfuehren(0, 0, -99999, 0, -1234567, 1);
  rig.layer.Referenzoffset_einstellen('x', 0.25);
  rig.layer.Referenzoffset_einstellen('u', -2.5);
  rig.layer.Referenzoffset_einstellen('y', 100.0);
  EXPECT_EQ(CommandLayerRig::traceLines(), (std::vector<std::string>{
                                               "Vektorfahrt_ausfuehren(1,2,   12,  -34,123456,1)",
                                               "Vektorfahrt_ausfuehren(0,0,-99999,    0,-1234567,1)",
                                               "Referenzoffset_einstellen(x,0.25)",
                                               "Referenzoffset_einstellen(u,-2.5)",
                                               "Referenzoffset_einstellen(y,100)",
                                           }));
}

TEST(TraceLines, GeneralNumberFormat) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.25, "0.25"},
      {2.3, "2.3"},
      {0.1 + 0.2, "0.3"},  // 15 significant digits hide the binary error
      {1.0 / 3.0, "0.333333333333333"},
      {-0.0, "0"},
      {123456789012345.0, "123456789012345"},
      {1234567890123456.0, "1.23456789012346E15"},
      {0.00001, "0.00001"},
      {0.000001, "1E-6"},
      {-0.0000025, "-2.5E-6"},
      {1.5e20, "1.5E20"},
  };
  for (const auto& c : cases) EXPECT_EQ(machine::generalNumberText(c.value), c.text) << c.text;
}

}  // namespace
