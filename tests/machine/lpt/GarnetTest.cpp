// Tests of the phase-pattern back-end on the simulated port with virtual time: the pattern bytes
// of half and full steps, the holding current after a move, the relay on the z channel, the step
// mode and holding current settings, and its speed limits.
#include <gtest/gtest.h>

#include <chrono>

#include "LptRig.h"
#include "machine/lpt/TGarnet.h"

namespace {

using machine::MoveOutcome;
using machinetest::periodOf;

constexpr std::int64_t kHoldingDelayMicros = 500'000;

struct GarnetRig : machinetest::SimulatedPortRig {
  GarnetRig() {
    port.setDecoding(peers::SimulatedParallelPort::Decoding::PhasePatterns);
    // The card's single limit input, pin 11, is active high: low means released.
    port.setPinLevel(11, false);
    EXPECT_TRUE(backend.Steuerung_verbinden("378"));
    backend.Startgeschwindigkeit_einstellen(1000);
    backend.Endgeschwindigkeit_einstellen(1, 1000);
    backend.Rampenlaenge_einstellen(0);
    port.clearRecord();
  }
  std::vector<int> latched() const {
    std::vector<int> bytes;
    for (const auto& l : port.latchedBytes()) bytes.push_back(l.value);
    return bytes;
  }
  // Moves the clock on by the holding delay and waits for the generator thread to put out the
  // holding patterns (`count` bytes in all since the record was cleared).
  bool holdingAfterDelay(std::size_t count) {
    clock.advance(kHoldingDelayMicros);
    return port.waitUntil([&] { return port.latchedBytes().size() >= count; }, std::chrono::seconds(20));
  }

  machine::TGarnet backend{port.connection(), clock, ui, gui};
};

TEST(Garnet, ThreeHalfStepsClockOutTheNextPatternsAndTheHoldingCurrentFollowsHalfASecondLater) {
  GarnetRig rig;
  ASSERT_EQ(rig.backend.Vektorfahrt_ausfuehren(1, 1, 3, 0, 0), MoveOutcome::Done);
  const std::int64_t moveEnd = rig.clock.nowNanos();
  EXPECT_EQ(rig.latched(), (std::vector<int>{45, 28, 13}));
  EXPECT_EQ(rig.port.positions(), (peers::AxisPositions{3, 0, 0, 0}));
  EXPECT_EQ(rig.backend.Position_abfragen('x'), 3);
  // Each pattern is strobed for 10 microseconds.
  const auto writes = rig.port.writes();
  ASSERT_GE(writes.size(), 3u);
  EXPECT_EQ(writes[0].port, 0x378);
  EXPECT_EQ(writes[2].nanos - writes[1].nanos, 10'000);

  ASSERT_TRUE(rig.holdingAfterDelay(6));
  // x at phase index 3, y and z at 0, holding current 0 (the setting the card starts with).
  EXPECT_EQ(rig.latched(), (std::vector<int>{45, 28, 13, 31, 63 + 64, 63 + 128}));
  EXPECT_EQ(rig.port.latchedBytes()[3].nanos, moveEnd + kHoldingDelayMicros * 1000);
  EXPECT_EQ(rig.port.positions(), (peers::AxisPositions{3, 0, 0, 0}));
}

TEST(Garnet, ANewMoveBeforeTheDelayPutsTheHoldingCurrentOff) {
  GarnetRig rig;
  rig.backend.Vektorfahrt_ausfuehren(1, 1, 0, 2, 0);
  rig.clock.advance(400'000);
  rig.backend.Vektorfahrt_ausfuehren(1, 1, 0, 0, -2);
  rig.clock.advance(400'000);
  EXPECT_EQ(rig.latched().size(), 4u);
  ASSERT_TRUE(rig.holdingAfterDelay(7));
  // y at index 2, z at index 6 (two steps back from 0).
  EXPECT_EQ(rig.latched(), (std::vector<int>{45 + 64, 28 + 64, 41 + 128, 56 + 128, 63, 31 + 64, 59 + 128}));
}

TEST(Garnet, FullStepsWalkFourPatternsBothWaysAndHalfStepsWrapAfterTheEighth) {
  GarnetRig rig;
  rig.backend.Schrittbetrieb_einstellen(1, 1);
  rig.backend.Vektorfahrt_ausfuehren(1, 1, 4, 0, 0);
  EXPECT_EQ(rig.latched(), (std::vector<int>{0, 32, 36, 4}));  // indexes 1, 2, 3, 0
  rig.port.clearRecord();
  rig.backend.Vektorfahrt_ausfuehren(1, 1, -4, 0, 0);
  EXPECT_EQ(rig.latched(), (std::vector<int>{36, 32, 0, 4}));  // indexes 3, 2, 1, 0
  EXPECT_EQ(rig.port.positions()[0], 0);

  rig.backend.Schrittbetrieb_einstellen(0, 1);
  rig.port.clearRecord();
  rig.backend.Vektorfahrt_ausfuehren(1, 1, 0, 9, 0);
  EXPECT_EQ(rig.latched(),
            (std::vector<int>{45 + 64, 28 + 64, 13 + 64, 3 + 64, 9 + 64, 56 + 64, 41 + 64, 39 + 64, 45 + 64}));
  EXPECT_EQ(rig.port.positions(), (peers::AxisPositions{0, 9, 0, 0}));
  EXPECT_EQ(rig.port.phaseJumps(), 0);
}

TEST(Garnet, HoldingPatternsFollowTheHoldingCurrent) {
  const struct {
    int stepMode, holdingCurrent;
    std::vector<int> holding;  // x after one step forward, y and z at index 0
  } cases[] = {
      {0, 0, {63, 63 + 64, 63 + 128}}, {0, 1, {54, 55 + 64, 55 + 128}}, {0, 2, {45, 47 + 64, 47 + 128}},
      {1, 0, {27, 31 + 64, 31 + 128}}, {1, 1, {18, 22 + 64, 22 + 128}}, {1, 2, {9, 13 + 64, 13 + 128}},
  };
  for (const auto& c : cases) {
    GarnetRig rig;
    rig.backend.Schrittbetrieb_einstellen(c.stepMode, c.holdingCurrent);
    rig.backend.Vektorfahrt_ausfuehren(1, 1, 1, 0, 0);
    ASSERT_TRUE(rig.holdingAfterDelay(4));
    const auto bytes = rig.latched();
    EXPECT_EQ(std::vector<int>(bytes.begin() + 1, bytes.end()), c.holding) << c.stepMode << " " << c.holdingCurrent;
  }
}

TEST(Garnet, TheRelaySitsOnTheZChannelAndTakesZOutOfTheHoldingOutput) {
  GarnetRig rig;
  rig.backend.Ausgangssignal_setzen(11, 1);
  rig.backend.Ausgangssignal_setzen(11, 0);
  EXPECT_EQ(rig.latched(), (std::vector<int>{167, 188}));
  rig.backend.Vektorfahrt_ausfuehren(1, 1, 1, 0, 0);
  ASSERT_TRUE(rig.holdingAfterDelay(5));
  EXPECT_EQ(rig.latched(), (std::vector<int>{167, 188, 45, 63, 63 + 64}));

  // Output 15 makes z an axis again and drives pin 14.
  rig.backend.Ausgangssignal_setzen(15, 1);
  EXPECT_TRUE(rig.port.outputPinHigh(14));
  rig.backend.Ausgangssignal_setzen(1, 0);
  EXPECT_FALSE(rig.port.outputPinHigh(14));
  rig.port.clearRecord();
  rig.backend.Vektorfahrt_ausfuehren(1, 1, 1, 0, 0);
  ASSERT_TRUE(rig.holdingAfterDelay(4));
  EXPECT_EQ(rig.latched(), (std::vector<int>{28, 31, 63 + 64, 63 + 128}));

  rig.backend.Ausgangssignal_setzen(2, 1);
  const auto boxes = rig.boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Ausgangssignal_setzen()");
  EXPECT_EQ(boxes[0].caption, "F E H L E R");
}

TEST(Garnet, AStepModeThatDoesNotExistIsReportedAndItsMovesAreRefused) {
  GarnetRig rig;
  rig.backend.Schrittbetrieb_einstellen(2, 0);
  auto boxes = rig.boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "falscher Wert für Schrittbetrieb!");
  EXPECT_EQ(boxes[0].caption, "F E H L E R");
  rig.ui.clear();
  EXPECT_EQ(rig.backend.Vektorfahrt_ausfuehren(1, 1, 5, 0, 0), MoveOutcome::Refused);
  EXPECT_TRUE(rig.latched().empty());
  boxes = rig.boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Schrittbetrieb einstellen!");

  // A holding current that does not exist keeps the phases but holds with all coils off.
  rig.ui.clear();
  rig.backend.Schrittbetrieb_einstellen(0, 3);
  boxes = rig.boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "falscher Wert für Ruhestrom!");
  EXPECT_EQ(rig.backend.Vektorfahrt_ausfuehren(1, 1, 1, 0, 0), MoveOutcome::Done);
  ASSERT_TRUE(rig.holdingAfterDelay(4));
  EXPECT_EQ(rig.latched(), (std::vector<int>{45, 0, 64, 128}));
}

TEST(Garnet, SpeedsAreCappedAtFiveThousandAndTheSpeedIndexIsChecked) {
  GarnetRig rig;
  rig.backend.Startgeschwindigkeit_einstellen(6000);
  rig.backend.Endgeschwindigkeit_einstellen(9, 7000);
  rig.backend.Referenzgeschwindigkeit_einstellen(5001);
  rig.backend.Endgeschwindigkeit_einstellen(10, 100);
  const auto boxes = rig.boxes();
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[0].text, "unzulässiger Wert für Startfreq");
  EXPECT_EQ(boxes[0].caption, "Startgeschwindigkeit_einstellen()");
  EXPECT_EQ(boxes[1].text, "unzulässiger Wert für Arbeitsfreq");
  EXPECT_EQ(boxes[1].caption, "Endgeschwindigkeit_einstellen()");
  EXPECT_EQ(boxes[2].text, "unzulässiger Wert für RefFreq");
  EXPECT_EQ(boxes[2].caption, "Referenzgeschwindigkeit_einstellen()");
  EXPECT_EQ(boxes[3].text, "unzulässiger Wert für index");
  EXPECT_EQ(boxes[3].caption, "Endgeschwindigkeit_einstellen()");

  EXPECT_EQ(rig.backend.Vektorfahrt_ausfuehren(1, 10, 5, 0, 0), MoveOutcome::Done);
  EXPECT_TRUE(rig.latched().empty());
  EXPECT_EQ(rig.backend.Vektorfahrt_ausfuehren(1, 9, 5, 0, 0), MoveOutcome::Done);
  for (auto gap : machinetest::SimulatedPortRig::intervals(rig.port.stepTimes(0))) EXPECT_EQ(gap, periodOf(5000));
}

TEST(Garnet, HomingTakesTheFirstLetterAndUIsNoAxisOfTheCard) {
  GarnetRig rig;
  rig.port.setPositions({0, 0, 20, 0});
  // Pin 11 goes high (active) at z <= 0.
  rig.port.setPinModel(11, [](const peers::AxisPositions& p) { return p[2] <= 0; });
  rig.backend.Referenzoffset_einstellen('z', 7);
  rig.backend.Referenzgeschwindigkeit_einstellen(2000);
  EXPECT_EQ(rig.backend.Referenzfahrt_ausfuehren("zxy"), MoveOutcome::Done);
  EXPECT_EQ(rig.port.positions(), (peers::AxisPositions{0, 0, 8, 0}));
  EXPECT_EQ(rig.backend.Position_abfragen('z'), 0);
  EXPECT_EQ(rig.port.phaseJumps(), 0);

  rig.port.clearRecord();
  EXPECT_EQ(rig.backend.Referenzfahrt_ausfuehren("u"), MoveOutcome::Done);
  EXPECT_TRUE(rig.port.writes().empty());
  EXPECT_EQ(rig.backend.Version_abfragen(), "Garnet/Jasper");
}

}  // namespace
