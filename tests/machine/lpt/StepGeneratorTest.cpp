// Tests of the step generator in step/direction form on the simulated port with virtual time:
// the bytes of each direction and axis, the distribution of the minor axes, the timing of
// constant speed and of the ramps, refusals, stops, limit switches, late steps, and the closing
// of the unit while a move runs.
#include <gtest/gtest.h>
#include <sched.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <latch>
#include <thread>

#include "LptRig.h"
#include "machine/FailureCodes.h"
#include "platform/Clock.h"
#include "platform/IopermPortIo.h"
#include "support/PerThreadPortInstructions.h"

namespace {

using machine::MoveOutcome;
using machinetest::LptRig;
using machinetest::periodOf;

constexpr bool kStepDirection = true;

// The data bytes of one move, without the 0 that the connection writes.
std::vector<std::uint8_t> moveBytes(LptRig& rig, int x, int y, int z) {
  rig.port.clearRecord();
  EXPECT_EQ(rig.unit.Lpt_Vektorfahrt(kStepDirection, x, y, z, 1000, 1000, 0), MoveOutcome::Done);
  return rig.port.dataWrites();
}

TEST(StepGenerator, EachStepIsAPulseWithItsDirectionBitsThenTheStepBitsCleared) {
  const struct {
    int x, y, z;
    std::uint8_t pulse, after;
  } cases[] = {
      {1, 0, 0, 0x03, 0x01},       {-1, 0, 0, 0x02, 0x00},  {0, 1, 0, 0x0C, 0x04},
      {0, -1, 0, 0x08, 0x00},      {0, 0, 1, 0x30, 0x10},   {0, 0, -1, 0x20, 0x00},
      {1000, 1000, 0, 0x0F, 0x05}, {-5, 5, -5, 0x2E, 0x04}, {3, -3, 3, 0x3B, 0x11},
  };
  for (const auto& c : cases) {
    LptRig rig;
    const auto bytes = moveBytes(rig, c.x, c.y, c.z);
    ASSERT_GE(bytes.size(), 2u) << c.x << " " << c.y << " " << c.z;
    EXPECT_EQ(bytes[0], c.pulse) << c.x << " " << c.y << " " << c.z;
    EXPECT_EQ(bytes[1], c.after) << c.x << " " << c.y << " " << c.z;
    EXPECT_EQ(rig.port.positions(), (peers::AxisPositions{c.x, c.y, c.z, 0}));
    int x = 0, y = 0, z = 0, u = 0;
    rig.unit.LptPosition_lesen(x, y, z, u);
    EXPECT_EQ((std::array<int, 4>{x, y, z, u}), (std::array<int, 4>{c.x, c.y, c.z, 0}));
    EXPECT_EQ(rig.port.strayAccesses(), 0);
  }
}

TEST(StepGenerator, MinorAxesStepEvenlyAlongTheLeadAxis) {
  LptRig rig;
  // z leads with 10 steps; x makes 4 of them and y 5, spread over the whole move.
  const auto bytes = moveBytes(rig, 4, -5, 10);
  std::string pattern;
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    pattern += (bytes[i] & 0x02) ? 'x' : '.';
    pattern += (bytes[i] & 0x08) ? 'y' : '.';
    pattern += (bytes[i] & 0x20) ? 'z' : '.';
    pattern += ' ';
  }
  EXPECT_EQ(pattern, ".yz x.z .yz x.z .yz ..z xyz ..z xyz ..z ");
  EXPECT_EQ(rig.port.positions(), (peers::AxisPositions{4, -5, 10, 0}));
}

TEST(StepGenerator, EqualSpeedsGiveAConstantPeriodAndAPulseOfTheSetWidth) {
  LptRig rig;
  rig.unit.Frequenzgrenzen_setzen(5000, 10000);  // 100 microsecond pulses
  ASSERT_EQ(rig.unit.Lpt_Vektorfahrt(kStepDirection, 50, 0, 0, 3000, 3000, 100), MoveOutcome::Done);
  const auto gaps = rig.stepIntervals(0);
  ASSERT_EQ(gaps.size(), 49u);
  for (auto gap : gaps) EXPECT_EQ(gap, periodOf(3000));
  const auto writes = rig.port.writes();
  ASSERT_GE(writes.size(), 2u);
  EXPECT_EQ(writes[1].nanos - writes[0].nanos, 100'000);
}

TEST(StepGenerator, RampRisesOverItsStepsHoldsTheSpeedAndFallsAgain) {
  LptRig rig;
  // 200 to 600 steps per second in 200 ms: a ramp of 120 steps at each end.
  ASSERT_EQ(rig.unit.Lpt_Vektorfahrt(kStepDirection, 1000, 0, 0, 200, 600, 200), MoveOutcome::Done);
  const auto gaps = rig.stepIntervals(0);
  ASSERT_EQ(gaps.size(), 999u);
  EXPECT_EQ(gaps.front(), periodOf(200));
  for (std::size_t i = 1; i < 120; ++i) EXPECT_LT(gaps[i], gaps[i - 1]) << i;
  for (std::size_t i = 120; i < 880; ++i) EXPECT_EQ(gaps[i], periodOf(600)) << i;
  for (std::size_t i = 880; i < gaps.size(); ++i) EXPECT_GT(gaps[i], gaps[i - 1]) << i;
  EXPECT_LE(gaps.back(), periodOf(200));
}

TEST(StepGenerator, AMoveTooShortForTwoRampsTurnsHalfwayAtTheFullRampsRate) {
  LptRig rig;
  // 100 to 500 in 320 ms would take 80 steps each way; 100 steps leave 50 up and 50 down, with the
  // increment of the full ramp (5 per step), so the top speed is 350.
  ASSERT_EQ(rig.unit.Lpt_Vektorfahrt(kStepDirection, 0, 100, 0, 100, 500, 320), MoveOutcome::Done);
  const auto gaps = rig.stepIntervals(1);
  ASSERT_EQ(gaps.size(), 99u);
  EXPECT_EQ(*std::min_element(gaps.begin(), gaps.end()), periodOf(350));
  for (std::size_t i = 1; i <= 50; ++i) EXPECT_LT(gaps[i], gaps[i - 1]) << i;
  for (std::size_t i = 51; i < gaps.size(); ++i) EXPECT_GT(gaps[i], gaps[i - 1]) << i;
}

TEST(StepGenerator, RefusedMoveBeepsOnceAndWritesNothing) {
  const struct {
    const char* name;
    int f0, f1, rampMs;
  } cases[] = {
      {"start 0", 0, 600, 100},
      {"start above the limit", 12001, 12001, 0},
      {"end above the limit", 200, 12001, 100},
      {"end below start", 600, 200, 100},
      {"negative ramp", 200, 600, -1},
      {"ramp over a minute", 200, 600, 60001},
  };
  for (const auto& c : cases) {
    LptRig rig;
    EXPECT_EQ(rig.unit.Lpt_Vektorfahrt(kStepDirection, 100, 0, 0, c.f0, c.f1, c.rampMs), MoveOutcome::Refused)
        << c.name;
    EXPECT_TRUE(rig.port.writes().empty()) << c.name;
    const auto beeps = rig.beeps();
    ASSERT_EQ(beeps.size(), 1u) << c.name;
    EXPECT_EQ(beeps[0].hz, 440u) << c.name;
    EXPECT_EQ(beeps[0].ms, 100u) << c.name;
  }

  // Nothing to move is no move at all, whatever its speeds.
  LptRig rig;
  EXPECT_EQ(rig.unit.Lpt_Vektorfahrt(kStepDirection, 0, 0, 0, 0, 0, -5), MoveOutcome::Done);
  EXPECT_TRUE(rig.beeps().empty());

  // Without a pulse width there is no step/direction move, silently.
  rig.unit.Frequenzgrenzen_setzen(12000, 0);
  EXPECT_EQ(rig.unit.Lpt_Vektorfahrt(kStepDirection, 10, 0, 0, 200, 200, 0), MoveOutcome::Refused);
  EXPECT_TRUE(rig.port.writes().empty());
  EXPECT_TRUE(rig.beeps().empty());
}

TEST(StepGenerator, DeceleratedStopEndsAfterOneRampAndNeverSlowsBelowTheStartSpeed) {
  const struct {
    const char* name;
    std::int64_t stopAt;
    std::int64_t total;
  } cases[] = {
      {"at full speed", 500, 620},  // 120 ramp steps follow
      {"while speeding up", 10, 130},
      {"near the end", 990, 1000},  // the move is never lengthened
  };
  for (const auto& c : cases) {
    LptRig rig;
    rig.port.onceWhen([&](const peers::AxisPositions& p) { return p[0] == c.stopAt; },
                      [&] { rig.unit.Lpt_anhalten(); });
    EXPECT_EQ(rig.unit.Lpt_Vektorfahrt(kStepDirection, 1000, 0, 0, 200, 600, 200), MoveOutcome::Stopped) << c.name;
    EXPECT_EQ(rig.port.positions()[0], c.total) << c.name;
    const auto gaps = rig.stepIntervals(0);
    EXPECT_LE(*std::max_element(gaps.begin(), gaps.end()), periodOf(200)) << c.name;
    const auto beeps = rig.beeps();
    ASSERT_EQ(beeps.size(), 1u) << c.name;
    EXPECT_EQ(beeps[0].hz, 880u) << c.name;
  }
}

TEST(StepGenerator, ImmediateStopEndsTheMoveAfterTheCurrentStep) {
  LptRig rig;
  rig.port.onceWhen([&](const peers::AxisPositions& p) { return p[2] == -300; },
                    [&] { rig.unit.Lpt_sofort_stoppen(); });
  EXPECT_EQ(rig.unit.Lpt_Vektorfahrt(kStepDirection, 0, 0, -1000, 200, 600, 200), MoveOutcome::Stopped);
  EXPECT_EQ(rig.port.positions()[2], -300);
  int x = 0, y = 0, z = 0, u = 0;
  rig.unit.LptPosition_lesen(x, y, z, u);
  EXPECT_EQ(z, -300);
  EXPECT_EQ(rig.beeps().size(), 2u);
}

TEST(StepGenerator, AStopWhileNothingMovesDoesNotCutTheNextMoveShort) {
  LptRig rig;
  rig.unit.Lpt_anhalten();
  rig.unit.Lpt_sofort_stoppen();
  EXPECT_EQ(rig.unit.Lpt_Vektorfahrt(kStepDirection, 300, 0, 0, 200, 600, 200), MoveOutcome::Done);
  EXPECT_EQ(rig.port.positions()[0], 300);
}

TEST(LptUnit, AMoveOrHomingRunPostedWhileTheProgramsStopRequestStandsDoesNotStart) {
  std::atomic<bool> bAbbruch{false};
  LptRig rig;
  rig.unit.bindStopRequest(&bAbbruch);
  ASSERT_EQ(rig.unit.Lpt_Vektorfahrt(kStepDirection, 300, -20, 0, 200, 600, 200), MoveOutcome::Done);
  bAbbruch = true;
  rig.port.clearRecord();
  EXPECT_EQ(rig.unit.Lpt_Vektorfahrt(kStepDirection, 1000, 0, 0, 200, 600, 200), MoveOutcome::NotStarted);
  EXPECT_EQ(rig.unit.Lpt_Referenzfahrt(kStepDirection, 'y', 100, 200, 600, 200), MoveOutcome::NotStarted);
  EXPECT_TRUE(rig.port.writes().empty());
  EXPECT_EQ(rig.port.positions(), (peers::AxisPositions{300, -20, 0, 0}));
  // Nothing moved, and the homing run did not zero its axis; the request is left to its owner.
  int x = 0, y = 0, z = 0, u = 0;
  rig.unit.LptPosition_lesen(x, y, z, u);
  EXPECT_EQ((std::array<int, 4>{x, y, z, u}), (std::array<int, 4>{0, 0, 0, 0}));
  EXPECT_TRUE(bAbbruch.load());

  bAbbruch = false;
  EXPECT_EQ(rig.unit.Lpt_Vektorfahrt(kStepDirection, 1000, 0, 0, 200, 600, 200), MoveOutcome::Done);
  EXPECT_EQ(rig.port.positions()[0], 1300);
}

TEST(StepGenerator, WithRealTimePriorityItGivesUpTheProcessorAtLeastEveryTenMilliseconds) {
  // The generator as its thread runs it, on this thread, with or without real-time priority.
  struct Case {
    const char* name;
    bool realtime;
    int hz;
    int steps;
  };
  const Case cases[] = {
      {"slow, real-time", true, 1000, 500},     // 1 ms steps: most of each wait is slept
      {"fast, real-time", true, 40000, 40000},  // 25 us steps: no time to spare
      {"slow, normal", false, 1000, 500},       // the scheduler shares the processor itself
      {"fast, normal", false, 40000, 40000},
  };
  for (const auto& c : cases) {
    LptRig rig;
    const auto io = rig.port.connection();
    machine::LptPort port(*io, rig.clock);
    machine::StopRequests stops;
    machine::StepGenerator generator(port, rig.clock, rig.lptUi, stops);
    generator.setRealtime(c.realtime);
    machine::LptConfig config = rig.unit.config();
    config.maxFrequency = 250000;
    config.pulseDivisor = 1'000'000;
    machine::GeneratorCommand move;
    move.command = machine::GeneratorCommand::kVectorMove;
    move.stepDirection = kStepDirection;
    move.steps = {c.steps, 0, 0, 0};
    move.startFrequency = move.endFrequency = c.hz;
    const std::int64_t start = rig.clock.nowNanos();
    ASSERT_EQ(generator.Befehl_ausfuehren(move, config).outcome, MoveOutcome::Done) << c.name;
    const auto times = rig.port.stepTimes(0);
    ASSERT_EQ(times.size(), static_cast<std::size_t>(c.steps)) << c.name;
    const auto blocks = rig.clock.blocks();
    if (!c.realtime) {
      EXPECT_TRUE(blocks.empty()) << c.name;
      continue;
    }
    // Never more than 10 ms (and the step under way) on the processor without a break.
    std::int64_t last = start;
    for (const auto& b : blocks) {
      EXPECT_LE(b.fromNanos - last, 10'000'000 + periodOf(c.hz)) << c.name;
      EXPECT_GT(b.untilNanos, b.fromNanos) << c.name;
      last = b.untilNanos;
    }
    EXPECT_LE(times.back() - last, 10'000'000 + periodOf(c.hz)) << c.name;
    // The steps stay on time: slow ones to the nanosecond, fast ones but for the few cut by a
    // break, and those by no more than the break.
    const auto gaps = rig.stepIntervals(0);
    const auto late = std::count_if(gaps.begin(), gaps.end(), [&](auto g) { return g != periodOf(c.hz); });
    if (c.hz == 1000) {
      EXPECT_EQ(blocks.size(), times.size()) << c.name;
      EXPECT_EQ(late, 0) << c.name;
    } else {
      EXPECT_LE(static_cast<std::size_t>(late), blocks.size()) << c.name;
      EXPECT_LE(*std::max_element(gaps.begin(), gaps.end()), periodOf(c.hz) + 20'000) << c.name;
    }
    EXPECT_TRUE(rig.beeps().empty()) << c.name;
  }
}

TEST(StepGenerator, ActiveLimitSwitchEndsTheMoveWithABeepUnlessLimitStopIsOff) {
  for (bool limitStop : {true, false}) {
    LptRig rig;
    rig.unit.Endschalterstopp_setzen(limitStop);
    // Three inputs, active low: pin 12 goes low once x has reached 300.
    rig.port.setPinModel(12, [](const peers::AxisPositions& p) { return p[0] < 300; });
    const auto outcome = rig.unit.Lpt_Vektorfahrt(kStepDirection, 500, 0, 0, 1000, 1000, 0);
    EXPECT_EQ(outcome, limitStop ? MoveOutcome::LimitSwitch : MoveOutcome::Done);
    EXPECT_EQ(rig.port.positions()[0], limitStop ? 300 : 500);
    EXPECT_EQ(rig.beeps().size(), limitStop ? 1u : 0u);
  }
}

TEST(StepGenerator, ASwitchCountsWhenTwoOfFourSamplesShowIt) {
  // Released: pins 10, 11, 12 high; pin 10 low is an active sample.
  constexpr std::uint8_t kReleased = 0x67;
  constexpr std::uint8_t kActive = 0x27;
  LptRig rig;
  rig.port.scriptStatusReads({kActive, kReleased, kReleased, kReleased, kReleased, kActive, kReleased, kActive});
  EXPECT_EQ(rig.unit.Lpt_Vektorfahrt(kStepDirection, 10, 0, 0, 1000, 1000, 0), MoveOutcome::LimitSwitch);
  EXPECT_EQ(rig.port.positions()[0], 2);
  EXPECT_EQ(rig.port.statusReads(), 8);
}

TEST(StepGenerator, LimitLayoutsReadTheirOwnPinsAtTheirOwnLevel) {
  const struct {
    const char* name;
    bool four, single, activeHigh;
    int pin;
    bool activeLevel;
  } cases[] = {
      {"three inputs, pin 10", false, false, false, 10, false},
      {"three inputs, pin 11", false, false, false, 11, false},
      {"four inputs, pin 13", true, false, false, 13, false},
      {"four inputs, pin 15", true, false, false, 15, false},
      {"four inputs active high, pin 12", true, false, true, 12, true},
      {"single input active high, pin 11", false, true, true, 11, true},
      {"single input active low, pin 11", false, true, false, 11, false},
  };
  for (const auto& c : cases) {
    LptRig rig;
    rig.unit.Endschalter_konfigurieren(c.four, c.single, c.activeHigh);
    for (int pin : {10, 11, 12, 13, 15}) rig.port.setPinLevel(pin, !c.activeLevel);
    rig.port.setPinModel(c.pin,
                         [&](const peers::AxisPositions& p) { return p[1] >= 20 ? c.activeLevel : !c.activeLevel; });
    EXPECT_EQ(rig.unit.Lpt_Vektorfahrt(kStepDirection, 0, 50, 0, 1000, 1000, 0), MoveOutcome::LimitSwitch) << c.name;
    EXPECT_EQ(rig.port.positions()[1], 20) << c.name;
  }
  // Pins outside the layout are not limit inputs.
  LptRig rig;
  rig.unit.Endschalter_konfigurieren(false, true, true);
  rig.port.setPinLevel(11, false);
  rig.port.setPinLevel(10, true);
  EXPECT_EQ(rig.unit.Lpt_Vektorfahrt(kStepDirection, 0, 50, 0, 1000, 1000, 0), MoveOutcome::Done);
}

TEST(StepGenerator, AStatusRegisterThatCannotBeReadStopsTheMove) {
  LptRig rig;
  rig.port.scriptStatusReads({std::nullopt, std::nullopt});
  EXPECT_EQ(rig.unit.Lpt_Vektorfahrt(kStepDirection, 10, 0, 0, 1000, 1000, 0), MoveOutcome::LimitSwitch);
  EXPECT_EQ(rig.port.positions()[0], 1);
}

TEST(StepGenerator, LateStepsBeepButTheMoveGoesOn) {
  LptRig rig;
  // 100 microsecond pulses and 16 microseconds of limit test do not fit into 50 microseconds.
  rig.unit.Frequenzgrenzen_setzen(20000, 10000);
  EXPECT_EQ(rig.unit.Lpt_Vektorfahrt(kStepDirection, 200, 0, 0, 20000, 20000, 0), MoveOutcome::Done);
  EXPECT_EQ(rig.port.positions()[0], 200);
  const auto beeps = rig.beeps();
  ASSERT_FALSE(beeps.empty());
  EXPECT_LT(beeps.size(), 200u);  // one queued tone stands for all late steps until it sounded
  for (const auto& b : beeps) {
    EXPECT_EQ(b.hz, 440u);
    EXPECT_EQ(b.ms, 1u);
  }
}

TEST(LptUnit, TheBaseAddressTextGivesTheThreeRegisters) {
  for (const char* text : {"378", "0x378"}) {
    LptRig rig;
    rig.unit.LptAdresse_setzen(text);
    rig.unit.LptAusgang_setzen(16, true);
    EXPECT_TRUE(rig.unit.LptEingang_lesen(10));
    const auto writes = rig.port.writes();
    ASSERT_EQ(writes.size(), 2u) << text;
    EXPECT_EQ(writes[0].port, 0x378) << text;  // the data register is cleared
    EXPECT_EQ(writes[0].value, 0) << text;
    EXPECT_EQ(writes[1].port, 0x37A) << text;
    EXPECT_EQ(rig.port.statusReads(), 10) << text;
    EXPECT_EQ(rig.port.strayAccesses(), 0) << text;
    EXPECT_EQ(rig.unit.config().statusPort, 0x379) << text;
  }
}

TEST(LptUnit, AnEmptyAddressOnlyBeepsABadOneOrAPortInUseSaysWhy) {
  LptRig rig;
  EXPECT_FALSE(rig.unit.LptAdresse_setzen(""));
  EXPECT_EQ(rig.beeps().size(), 1u);
  EXPECT_TRUE(rig.boxes().empty());

  for (const char* text : {"37G", "0x", "10000", "-378"}) {
    rig.ui.clear();
    EXPECT_FALSE(rig.unit.LptAdresse_setzen(text)) << text;
    const auto boxes = rig.boxes();
    ASSERT_EQ(boxes.size(), 1u) << text;
    EXPECT_EQ(boxes[0].text, std::string("Ungültige Adresse des Parallelports: \"") + text + "\"");
    EXPECT_EQ(boxes[0].caption, "F E H L E R");
  }

  rig.ui.clear();
  rig.port.refuseClaims("Kein Zugriff auf /dev/parport0");
  EXPECT_FALSE(rig.unit.LptAdresse_setzen("378"));
  EXPECT_FALSE(rig.unit.bereit());
  const auto boxes = rig.boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Kein Zugriff auf /dev/parport0");
  EXPECT_THROW(rig.unit.Lpt_Vektorfahrt(kStepDirection, 10, 0, 0, 200, 200, 0), int);
}

TEST(LptUnit, WithoutPortAccessTheUnitSaysSoAndRefusesMovesAtOnce) {
  testsupport::ManualClock clock;
  testsupport::ScriptedUi ui;
  testsupport::QueueDispatcher gui;
  peers::SimulatedParallelPort port{clock};
  port.setInitializeResult(false);
  machine::LptUi lptUi{ui, gui};
  machine::LptUnit unit{port.connection(), clock, lptUi};
  EXPECT_FALSE(unit.Lpt_oeffnen());
  const auto boxes = ui.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "InitializeWinIo() failed");
  EXPECT_EQ(boxes[0].caption, "F E H L E R");
  EXPECT_EQ(boxes[0].icon, platform::MsgIcon::Warning);
  EXPECT_FALSE(unit.LptAdresse_setzen("378"));
  EXPECT_FALSE(unit.bereit());
  try {
    unit.Lpt_Vektorfahrt(kStepDirection, 10, 0, 0, 200, 200, 0);
    ADD_FAILURE() << "a move without port access was taken";
  } catch (int code) {
    EXPECT_EQ(code, machine::HANDLE_COM_PORT_ERROR);
  }
  EXPECT_TRUE(port.writes().empty());
}

TEST(LptUnit, OutputPinsFollowTheirControlBits) {
  const struct {
    int pin;
    std::uint8_t bit;
    bool setWhenHigh;
  } cases[] = {{1, 0x01, false}, {14, 0x02, false}, {16, 0x04, true}, {17, 0x08, false}};
  for (const auto& c : cases) {
    LptRig rig;
    for (bool on : {true, false, true}) {
      rig.unit.LptAusgang_setzen(c.pin, on);
      EXPECT_EQ(rig.port.outputPinHigh(c.pin), on) << c.pin;
      const std::uint8_t control = rig.port.writes().back().value;
      EXPECT_EQ((control & c.bit) != 0, on == c.setWhenHigh) << c.pin;
      EXPECT_EQ(control & ~c.bit, 0) << "pin " << c.pin << " touched other bits";
    }
  }
  LptRig rig;
  rig.unit.LptAusgang_setzen(2, true);
  EXPECT_TRUE(rig.port.writes().empty());
}

TEST(LptUnit, AnInputIsSetWhenMoreThanSevenOfTenReadsShowItHigh) {
  constexpr std::uint8_t kHigh = 0x40;  // pin 10
  constexpr std::uint8_t kLow = 0x00;
  const struct {
    int highReads;
    int failedReads;
    bool set;
  } cases[] = {{10, 0, true}, {8, 0, true}, {7, 0, false}, {8, 2, true}, {7, 3, false}, {0, 0, false}};
  for (const auto& c : cases) {
    LptRig rig;
    std::vector<std::optional<std::uint8_t>> reads;
    for (int i = 0; i < 10; ++i) {
      if (i < c.failedReads) {
        reads.push_back(std::nullopt);
      } else {
        reads.push_back(i - c.failedReads < c.highReads ? kHigh : kLow);
      }
    }
    rig.port.scriptStatusReads(reads);
    EXPECT_EQ(rig.unit.LptEingang_lesen(10), c.set) << c.highReads << " high, " << c.failedReads << " failed";
  }

  // Each input pin by its own bit; pin 11 reads inverted.
  const struct {
    int pin;
    std::uint8_t highStatus;
  } pins[] = {{10, 0x40}, {11, 0x00}, {12, 0x20}, {13, 0x10}, {15, 0x08}};
  for (const auto& p : pins) {
    LptRig rig;
    rig.port.scriptStatusReads(std::vector<std::optional<std::uint8_t>>(10, p.highStatus));
    EXPECT_TRUE(rig.unit.LptEingang_lesen(p.pin)) << p.pin;
    rig.port.scriptStatusReads(std::vector<std::optional<std::uint8_t>>(10, static_cast<std::uint8_t>(~p.highStatus)));
    EXPECT_FALSE(rig.unit.LptEingang_lesen(p.pin)) << p.pin;
  }
  LptRig rig;
  EXPECT_FALSE(rig.unit.LptEingang_lesen(2));
}

TEST(LptUnit, DirectPortAccessWorksOnTheGeneratorAndEveryOtherThreadThatTouchesThePort) {
  machinetest::SimulatedPortRig rig;
  const auto card = rig.port.connection();
  std::string reason;
  ASSERT_TRUE(card->claim(0x378, reason));
  testsupport::PerThreadPortInstructions cpu(card.get());
  machine::LptUi lptUi{rig.ui, rig.gui};
  machine::LptUnit unit(std::make_unique<platform::IopermPortIo>(cpu), rig.clock, lptUi);
  // The generator thread and the job's worker are there before the port is claimed at connect.
  ASSERT_TRUE(unit.Lpt_oeffnen());
  std::latch connected(1);
  MoveOutcome outcome = MoveOutcome::Refused;
  std::thread job([&] {
    connected.wait();
    outcome = unit.Lpt_Vektorfahrt(kStepDirection, 300, -40, 0, 200, 600, 200);
    unit.LptAusgang_setzen(16, true);
  });
  ASSERT_TRUE(unit.LptAdresse_setzen("378"));
  connected.count_down();
  job.join();
  unit.LptEingang_lesen(10);

  EXPECT_EQ(outcome, MoveOutcome::Done);
  EXPECT_EQ(rig.port.positions(), (peers::AxisPositions{300, -40, 0, 0}));
  EXPECT_TRUE(rig.port.outputPinHigh(16));
  EXPECT_EQ(cpu.faults(), 0);
  // This thread, the job's and the generator's, each with its own grant, taken once.
  const auto threads = cpu.accessingThreads();
  EXPECT_EQ(threads.size(), 3u);
  for (const auto& id : threads) EXPECT_EQ(cpu.grants(id), 1);
}

TEST(LptUnit, OnOneProcessorAStopFromAnotherThreadEndsALongMoveThroughItsRampInRealTime) {
  // This thread and the unit's stay on one processor, as on a machine that has no other.
  cpu_set_t original;
  ASSERT_EQ(sched_getaffinity(0, sizeof original, &original), 0);
  cpu_set_t one;
  CPU_ZERO(&one);
  int first = 0;
  while (!CPU_ISSET(first, &original)) ++first;
  CPU_SET(first, &one);
  ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
  {
    auto& clock = platform::systemClock();
    testsupport::ScriptedUi ui;
    testsupport::QueueDispatcher gui;
    peers::SimulatedParallelPort port(clock);
    machine::LptUi lptUi{ui, gui};
    machine::LptUnit unit(port.connection(), clock, lptUi);
    ASSERT_TRUE(unit.Lpt_oeffnen());
    ASSERT_TRUE(unit.LptAdresse_setzen("378"));
    // A minute at 1000 steps per second; from 200 in 200 ms, so 100 steps to slow down.
    const std::int64_t started = clock.nowNanos();
    MoveOutcome outcome = MoveOutcome::Done;
    std::thread job([&] { outcome = unit.Lpt_Vektorfahrt(kStepDirection, 60000, 0, 0, 200, 1000, 200); });
    ASSERT_TRUE(port.waitUntil([&] { return port.positions()[0] >= 500; }, std::chrono::seconds(20)));
    const auto atStop = port.positions()[0];
    unit.Lpt_anhalten();
    job.join();
    const double seconds = static_cast<double>(clock.nowNanos() - started) / 1e9;

    EXPECT_EQ(outcome, MoveOutcome::Stopped);
    const auto steps = port.positions()[0];
    EXPECT_GE(steps, atStop + 100);
    EXPECT_LE(steps, atStop + 100 + 300) << "the stop waited " << steps - atStop - 100 << " steps for the processor";
    EXPECT_LT(seconds, 10.0);
    // The last steps come at close to the start speed again.
    const auto times = port.stepTimes(0);
    ASSERT_GE(times.size(), 11u);
    for (std::size_t i = times.size() - 10; i < times.size(); ++i)
      EXPECT_GT(times[i] - times[i - 1], 3 * periodOf(1000)) << i;
  }
  sched_setaffinity(0, sizeof original, &original);
}

TEST(LptUnit, ClosingStopsARunningMoveAtOnceAndRefusesLaterOnes) {
  LptRig rig;
  rig.unit.Frequenzgrenzen_setzen(250000, 250000);
  MoveOutcome outcome = MoveOutcome::Done;
  std::thread job([&] { outcome = rig.unit.Lpt_Vektorfahrt(kStepDirection, 2'000'000, 0, 0, 250000, 250000, 0); });
  ASSERT_TRUE(rig.port.waitUntil([&] { return rig.port.positions()[0] >= 100; }, std::chrono::seconds(20)));
  rig.unit.Lpt_schliessen();
  job.join();
  EXPECT_EQ(outcome, MoveOutcome::Stopped);
  EXPECT_LT(rig.port.positions()[0], 2'000'000);
  EXPECT_FALSE(rig.port.claimed());
  const auto steps = rig.port.positions()[0];
  EXPECT_THROW(rig.unit.Lpt_Vektorfahrt(kStepDirection, 10, 0, 0, 200, 200, 0), int);
  EXPECT_EQ(rig.port.positions()[0], steps);
}

}  // namespace
