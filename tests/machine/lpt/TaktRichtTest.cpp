// Tests of the step/direction back-end on the simulated port with virtual time: its speed limits
// and boxes, the frequency limits of the types, homing onto a switch model, its outputs and its
// positions.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "LptRig.h"
#include "machine/lpt/TTaktRicht.h"

namespace {

using machine::MoveOutcome;
using machinetest::periodOf;

struct TaktRichtRig : machinetest::SimulatedPortRig {
  TaktRichtRig() {
    EXPECT_TRUE(backend.Steuerung_verbinden("0x378"));
    // Type 7: three inputs, active low, all released (the pins read high).
    backend.Endschalter_konfigurieren(0, 0, 0);
    backend.Startgeschwindigkeit_einstellen(400);
    backend.Endgeschwindigkeit_einstellen(0, 400);
    backend.Endgeschwindigkeit_einstellen(1, 800);
    backend.Rampenlaenge_einstellen(50);
    backend.Referenzgeschwindigkeit_einstellen(800);
    port.clearRecord();
  }

  machine::TTaktRicht backend{port.connection(), clock, ui, gui};
};

TEST(TaktRicht, SpeedsAboveSixteenThousandAreCappedAfterABox) {
  const struct {
    const char* name;
    std::function<void(machine::TTaktRicht&)> set;
    const char* text;
    const char* caption;
  } cases[] = {
      {"start", [](auto& b) { b.Startgeschwindigkeit_einstellen(16001); }, "unzulässiger Wert für Startfreq",
       "Startgeschwindigkeit_einstellen()"},
      {"speed table", [](auto& b) { b.Endgeschwindigkeit_einstellen(1, 20000); }, "unzulässiger Wert für Arbeitsfreq",
       "Endgeschwindigkeit_einstellen()"},
      {"homing", [](auto& b) { b.Referenzgeschwindigkeit_einstellen(16001); }, "unzulässiger Wert für RefFreq",
       "ReferenzGeschwindigkeit_einstellen()"},
  };
  for (const auto& c : cases) {
    TaktRichtRig rig;
    rig.backend.Frequenzgrenzen_setzen(20000, 250000);
    c.set(rig.backend);
    const auto boxes = rig.boxes();
    ASSERT_EQ(boxes.size(), 1u) << c.name;
    EXPECT_EQ(boxes[0].text, c.text);
    EXPECT_EQ(boxes[0].caption, c.caption);
    EXPECT_EQ(boxes[0].icon, platform::MsgIcon::Warning);
  }

  // The capped working speed is what a move then runs at.
  TaktRichtRig rig;
  rig.backend.Frequenzgrenzen_setzen(20000, 250000);
  rig.backend.Startgeschwindigkeit_einstellen(16000);
  rig.backend.Endgeschwindigkeit_einstellen(1, 20000);
  ASSERT_EQ(rig.backend.Vektorfahrt_ausfuehren(1, 1, 10, 0, 0), MoveOutcome::Done);
  for (auto gap : machinetest::SimulatedPortRig::intervals(rig.port.stepTimes(0))) EXPECT_EQ(gap, periodOf(16000));
  EXPECT_EQ(rig.boxes().size(), 1u);
}

TEST(TaktRicht, TheTypesFrequencyLimitRefusesFasterMovesWithOneBeep) {
  TaktRichtRig rig;
  // Type 1 (Zircon): 5000 steps per second and 100 microsecond pulses; 8000 is stored all the same.
  rig.backend.Frequenzgrenzen_setzen(5000, 10000);
  rig.backend.Endgeschwindigkeit_einstellen(1, 8000);
  EXPECT_TRUE(rig.boxes().empty());
  EXPECT_EQ(rig.backend.Vektorfahrt_ausfuehren(1, 1, 100, 0, 0), MoveOutcome::Refused);
  EXPECT_EQ(rig.beeps().size(), 1u);
  EXPECT_TRUE(rig.port.writes().empty());
  EXPECT_EQ(rig.backend.Position_abfragen('x'), 0);

  rig.backend.Endgeschwindigkeit_einstellen(1, 5000);
  EXPECT_EQ(rig.backend.Vektorfahrt_ausfuehren(1, 1, 100, 0, 0), MoveOutcome::Done);
  const auto writes = rig.port.writes();
  EXPECT_EQ(writes.at(1).nanos - writes.at(0).nanos, 100'000);
}

TEST(TaktRicht, SpeedIndexesOutsideTheTableMoveNothingAndSetNothing) {
  TaktRichtRig rig;
  rig.backend.Endgeschwindigkeit_einstellen(10, 900);
  rig.backend.Endgeschwindigkeit_einstellen(-1, 900);
  EXPECT_TRUE(rig.boxes().empty());
  EXPECT_EQ(rig.backend.Vektorfahrt_ausfuehren(1, 10, 100, 0, 0), MoveOutcome::Done);
  EXPECT_EQ(rig.backend.Vektorfahrt_ausfuehren(1, -1, 100, 0, 0), MoveOutcome::Done);
  EXPECT_TRUE(rig.port.writes().empty());

  // The last slot is a slot like the others.
  rig.backend.Endgeschwindigkeit_einstellen(9, 2000);
  rig.backend.Startgeschwindigkeit_einstellen(2000);
  EXPECT_EQ(rig.backend.Vektorfahrt_ausfuehren(1, 9, 3, 0, 0), MoveOutcome::Done);
  for (auto gap : machinetest::SimulatedPortRig::intervals(rig.port.stepTimes(0))) EXPECT_EQ(gap, periodOf(2000));
}

TEST(TaktRicht, PositionsAddUpTheStepsMadeAndResetClearsThem) {
  TaktRichtRig rig;
  rig.backend.Vektorfahrt_ausfuehren(1, 1, 100, -50, 7);
  rig.backend.Vektorfahrt_ausfuehren(1, 1, -30, 0, 3);
  EXPECT_EQ(rig.backend.Position_abfragen('x'), 70);
  EXPECT_EQ(rig.backend.Position_abfragen('Y'), -50);
  EXPECT_EQ(rig.backend.Position_abfragen('z'), 10);
  EXPECT_EQ(rig.backend.Position_abfragen('u'), 0);
  EXPECT_EQ(rig.backend.Position_abfragen('q'), 0);

  // A stopped move counts what it made.
  rig.port.onceWhen([](const peers::AxisPositions& p) { return p[1] == -80; },
                    [&] { rig.backend.Achsen_sofort_stoppen(); });
  EXPECT_EQ(rig.backend.Vektorfahrt_ausfuehren(1, 1, 0, -100, 0), MoveOutcome::Stopped);
  EXPECT_EQ(rig.backend.Position_abfragen('y'), -80);

  rig.backend.Reset_durchfuehren();
  for (char axis : {'x', 'y', 'z', 'u'}) EXPECT_EQ(rig.backend.Position_abfragen(axis), 0) << axis;
  EXPECT_EQ(rig.backend.Version_abfragen(), "Takt/Richtung");
}

TEST(TaktRicht, HomingZOnTypeSevenFindsTheSwitchLeavesItAndTravelsTheOffset) {
  TaktRichtRig rig;
  rig.port.setPositions({500, 600, 1000, 0});
  // Pin 12 goes low (active) while z is at or below 0.
  rig.port.setPinModel(12, [](const peers::AxisPositions& p) { return p[2] > 0; });
  rig.backend.Referenzoffset_einstellen('z', 100);
  rig.backend.Vektorfahrt_ausfuehren(1, 1, 5, 0, 0);
  EXPECT_EQ(rig.backend.Referenzfahrt_ausfuehren("zxy"), MoveOutcome::Done);

  // Down to 0 where the switch closes, one step up where it opens, then the offset.
  EXPECT_EQ(rig.port.positions(), (peers::AxisPositions{505, 600, 101, 0}));
  EXPECT_EQ(rig.backend.Position_abfragen('z'), 0);
  EXPECT_EQ(rig.backend.Position_abfragen('x'), 5);
  EXPECT_EQ(rig.port.stepTimes(0).size(), 5u);  // only z moved in the homing
  // A pause of 250 ms after the switch, after leaving it and at the end.
  EXPECT_EQ(rig.clock.sleeps(), (std::vector<std::int64_t>{250'000, 250'000, 250'000}));
  // The homing runs at the reference speed.
  const auto gaps = machinetest::SimulatedPortRig::intervals(rig.port.stepTimes(2));
  EXPECT_EQ(*std::min_element(gaps.begin(), gaps.end()), periodOf(800));
  EXPECT_TRUE(rig.beeps().empty());
}

TEST(TaktRicht, HomingThatStartsOnASwitchFirstMovesAllThreeAxesOffIt) {
  TaktRichtRig rig;
  rig.port.setPositions({0, 0, -3, 0});
  rig.port.setPinModel(12, [](const peers::AxisPositions& p) { return p[2] > 0; });
  EXPECT_EQ(rig.backend.Referenzfahrt_ausfuehren("z"), MoveOutcome::Done);
  // x and y went along until the switch opened at z = 1; those steps are counted.
  EXPECT_EQ(rig.port.positions(), (peers::AxisPositions{4, 4, 1, 0}));
  EXPECT_EQ(rig.backend.Position_abfragen('x'), 4);
  EXPECT_EQ(rig.backend.Position_abfragen('y'), 4);
  EXPECT_EQ(rig.backend.Position_abfragen('z'), 0);
}

TEST(TaktRicht, HomingUTravelsItsOwnOffsetAndLeavesTheOthers) {
  TaktRichtRig rig;
  // Type 4: four inputs active low; u's switch on pin 15, z's on pin 13.
  rig.backend.Endschalter_konfigurieren(1, 0, 0);
  rig.port.setPositions({0, 0, 40, 60});
  rig.port.setPinModel(15, [](const peers::AxisPositions& p) { return p[3] > 0; });
  rig.port.setPinModel(13, [](const peers::AxisPositions& p) { return p[2] > 0; });
  rig.backend.Referenzoffset_einstellen('z', 30);
  rig.backend.Referenzoffset_einstellen('U', 200);
  EXPECT_EQ(rig.backend.Referenzfahrt_ausfuehren("u"), MoveOutcome::Done);
  EXPECT_EQ(rig.port.positions(), (peers::AxisPositions{0, 0, 40, 201}));
  EXPECT_EQ(rig.backend.Referenzfahrt_ausfuehren("Z"), MoveOutcome::Done);
  EXPECT_EQ(rig.port.positions(), (peers::AxisPositions{0, 0, 31, 201}));

  // Letters that name no axis home nothing.
  rig.port.clearRecord();
  EXPECT_EQ(rig.backend.Referenzfahrt_ausfuehren("a"), MoveOutcome::Done);
  EXPECT_EQ(rig.backend.Referenzfahrt_ausfuehren(""), MoveOutcome::Done);
  EXPECT_TRUE(rig.port.writes().empty());
}

TEST(TaktRicht, ARefusedHomingSpeedEndsTheHomingBeforeItMoves) {
  TaktRichtRig rig;
  rig.backend.Frequenzgrenzen_setzen(5000, 10000);
  rig.backend.Referenzgeschwindigkeit_einstellen(6000);
  rig.port.setPinModel(12, [](const peers::AxisPositions& p) { return p[2] > 0; });
  rig.port.setPositions({0, 0, 100, 0});
  EXPECT_EQ(rig.backend.Referenzfahrt_ausfuehren("z"), MoveOutcome::Refused);
  EXPECT_EQ(rig.port.positions()[2], 100);
  EXPECT_EQ(rig.beeps().size(), 1u);
  // Only the closing pause: nothing after the refused run is tried.
  EXPECT_EQ(rig.clock.sleeps(), (std::vector<std::int64_t>{250'000}));
}

TEST(TaktRicht, OnlyAHomingRunThatEndsAtItsReferencePointZeroesTheAxisAnyOtherCountsItsSteps) {
  // z stands 1000 steps above its switch (active while z <= 0) and has been counted at -200 after
  // a move down from where the back-end was connected; x at 5.
  enum class Interruption { None, DeceleratedDown, ImmediateDown, ImmediateDuringOffset, Refused, StopStanding };
  const struct {
    const char* name;
    Interruption interruption;
    MoveOutcome outcome;
    std::int64_t machineZ;  // where the machine stands afterwards
  } cases[] = {
      {"ends at the reference point", Interruption::None, MoveOutcome::Done, 101},
      // From 400 to 800 steps per second in 50 ms: 80 steps to slow down.
      {"decelerated stop on the way to the switch", Interruption::DeceleratedDown, MoveOutcome::Stopped, 420},
      {"immediate stop on the way to the switch", Interruption::ImmediateDown, MoveOutcome::Stopped, 500},
      {"immediate stop on the offset back up", Interruption::ImmediateDuringOffset, MoveOutcome::Stopped, 50},
      {"homing speed refused", Interruption::Refused, MoveOutcome::Refused, 1000},
      {"stop request standing", Interruption::StopStanding, MoveOutcome::NotStarted, 1000},
  };
  for (const auto& c : cases) {
    TaktRichtRig rig;
    rig.port.setPositions({0, 0, 1200, 0});
    ASSERT_EQ(rig.backend.Vektorfahrt_ausfuehren(1, 1, 5, 0, -200), MoveOutcome::Done) << c.name;
    rig.port.setPinModel(12, [](const peers::AxisPositions& p) { return p[2] > 0; });
    rig.backend.Referenzoffset_einstellen('z', 100);
    std::atomic<bool> stopRequest{false};
    rig.backend.bindStopRequest(stopRequest);
    bool reachedSwitch = false;
    switch (c.interruption) {
      case Interruption::None:
        break;
      case Interruption::DeceleratedDown:
        rig.port.onceWhen([](const peers::AxisPositions& p) { return p[2] == 500; },
                          [&] { rig.backend.Achsen_anhalten(); });
        break;
      case Interruption::ImmediateDown:
        rig.port.onceWhen([](const peers::AxisPositions& p) { return p[2] == 500; },
                          [&] { rig.backend.Achsen_sofort_stoppen(); });
        break;
      case Interruption::ImmediateDuringOffset:
        rig.port.onceWhen(
            [&reachedSwitch](const peers::AxisPositions& p) {
              reachedSwitch = reachedSwitch || p[2] <= 0;
              return reachedSwitch && p[2] == 50;
            },
            [&] { rig.backend.Achsen_sofort_stoppen(); });
        break;
      case Interruption::Refused:
        rig.backend.Frequenzgrenzen_setzen(700, 250000);
        break;
      case Interruption::StopStanding:
        stopRequest = true;
        break;
    }

    EXPECT_EQ(rig.backend.Referenzfahrt_ausfuehren("z"), c.outcome) << c.name;
    EXPECT_EQ(rig.port.positions()[2], c.machineZ) << c.name;
    // Counted from where the back-end was connected (z 1200), or from the reference point.
    const int expected = c.outcome == MoveOutcome::Done ? 0 : static_cast<int>(c.machineZ - 1200);
    EXPECT_EQ(rig.backend.Position_abfragen('z'), expected) << c.name;
    EXPECT_EQ(rig.backend.Position_abfragen('x'), 5) << c.name;
  }
}

TEST(TaktRicht, OutputNumbersReachTheirPins) {
  const struct {
    int number;
    int pin;
  } cases[] = {{1, 1}, {14, 1}, {2, 14}, {15, 14}, {3, 16}, {16, 16}, {4, 17}};
  for (const auto& c : cases) {
    TaktRichtRig rig;
    rig.backend.Ausgangssignal_setzen(c.number, 1);
    EXPECT_TRUE(rig.port.outputPinHigh(c.pin)) << c.number;
    rig.backend.Ausgangssignal_setzen(c.number, 0);
    EXPECT_FALSE(rig.port.outputPinHigh(c.pin)) << c.number;
  }
  // (16, on) sets its control bit, (14, on) clears the bit of pin 1.
  TaktRichtRig rig;
  rig.backend.Ausgangssignal_setzen(16, 1);
  EXPECT_EQ(rig.port.writes().back().value & 0x04, 0x04);
  rig.backend.Ausgangssignal_setzen(14, 0);
  rig.backend.Ausgangssignal_setzen(14, 1);
  EXPECT_EQ(rig.port.writes().back().value & 0x01, 0);

  for (int number : {0, 5, 10, 76}) {
    TaktRichtRig other;
    other.backend.Ausgangssignal_setzen(number, 1);
    const auto boxes = other.boxes();
    ASSERT_EQ(boxes.size(), 1u) << number;
    EXPECT_EQ(boxes[0].text, "Ausgangssignal_setzen()");
    EXPECT_EQ(boxes[0].caption, "F E H L E R");
    EXPECT_TRUE(other.port.writes().empty()) << number;
  }
}

TEST(TaktRicht, InputsAreReadFromTheirPins) {
  TaktRichtRig rig;
  rig.port.setPinLevel(13, false);
  EXPECT_FALSE(rig.backend.Eingang_abfragen(13));
  EXPECT_TRUE(rig.backend.Eingang_abfragen(15));
}

}  // namespace
