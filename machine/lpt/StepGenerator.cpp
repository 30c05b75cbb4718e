// Vector moves with ramp, homing runs and the holding-current output of the step generator.
#include "StepGenerator.h"

#include <algorithm>
#include <limits>

#include "AxisSlot.h"
#include "StepRamp.h"

namespace machine {

namespace {

constexpr std::int64_t kHomingTravel = 5'000'000;
constexpr int kHomingPauseMs = 250;
constexpr std::int64_t kSampleGapTicks = kLptTicksPerSecond / 250'000;  // 4 microseconds
constexpr int kLimitSamples = 4;
constexpr int kLimitSamplesNeeded = 2;
constexpr unsigned kWarnHz = 440;
constexpr unsigned kWarnMs = 100;
constexpr int kRefusedUBeeps = 3;
constexpr int kChannelStep = 64;  // the card's channel number in the two top bits of the byte
// With real-time priority: the end of a wait that is always spun (it covers the wake-up of a
// real-time thread), the shortest sleep worth its wake-up, and the longest stretch the generator
// keeps the processor without giving it up.
constexpr std::int64_t kSleepTail = 100'000;
constexpr std::int64_t kShortestSleep = 20'000;
constexpr std::int64_t kLongestSpin = 10'000'000;

int saturatingInt(std::int64_t value) {
  return static_cast<int>(
      std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

std::uint64_t magnitude(std::int64_t value) {
  return value < 0 ? static_cast<std::uint64_t>(0) - static_cast<std::uint64_t>(value)
                   : static_cast<std::uint64_t>(value);
}

// A run that refused or was stopped ends the homing: it reports the first such run.
bool endsHoming(MoveOutcome outcome) { return outcome == MoveOutcome::Refused || outcome == MoveOutcome::Stopped; }

}  // namespace

StepGenerator::StepGenerator(LptPort& port, platform::Clock& clock, LptUi& ui, StopRequests& stops)
    : port_(port), clock_(clock), ui_(ui), stops_(stops) {}

GeneratorResult StepGenerator::Befehl_ausfuehren(const GeneratorCommand& command, const LptConfig& config) {
  config_ = config;
  positions_.fill(0);
  GeneratorResult result;
  if (command.command == GeneratorCommand::kHoming) {
    result.outcome = Referenzfahrt_Achse(command.stepDirection, command.axis, command.offset, command.startFrequency,
                                         command.endFrequency, command.rampMs, result.referenced);
  } else if (command.command == GeneratorCommand::kVectorMove) {
    std::array<std::int64_t, kLptAxes> steps{};
    std::copy(command.steps.begin(), command.steps.end(), steps.begin());
    StopConditions conditions;
    conditions.limitStop = config_.limitStop;
    result.outcome = Schrittgenerator(command.stepDirection, steps, command.startFrequency, command.endFrequency,
                                      command.rampMs, conditions);
  }
  for (std::size_t i = 0; i < kLptAxes; ++i) result.positions[i] = saturatingInt(positions_[i]);
  return result;
}

MoveOutcome StepGenerator::Schrittgenerator(bool stepDirection, const std::array<std::int64_t, kLptAxes>& steps, int f0,
                                            int f1, int rampMs, const StopConditions& conditions, bool* conditionMet) {
  if (conditionMet != nullptr) *conditionMet = false;
  if (stepDirection) {
    if (config_.pulseDivisor <= 0) return MoveOutcome::Refused;
    portImage_ = 0;
  } else {
    if (!config_.tables.set) {
      ui_.postWarning("Schrittbetrieb einstellen!", kLptFehlerTitel);
      return MoveOutcome::Refused;
    }
    // The phase-pattern card has no u axis: such a run is refused at once instead of beeping
    // round after round without a step.
    if (steps[3] != 0) {
      for (int i = 0; i < kRefusedUBeeps; ++i) ui_.beep(kWarnHz, kWarnMs);
      return MoveOutcome::Refused;
    }
  }

  std::array<std::uint64_t, kLptAxes> size{};
  std::array<bool, kLptAxes> positive{};
  for (std::size_t i = 0; i < kLptAxes; ++i) {
    size[i] = magnitude(steps[i]);
    positive[i] = steps[i] >= 0;
  }
  const std::size_t lead = dominantAxis(size);
  const std::uint64_t total = size[lead];
  if (total == 0) return MoveOutcome::Done;
  if (!moveAccepted(f0, f1, rampMs, config_.maxFrequency)) {
    ui_.beep(kWarnHz, kWarnMs);
    return MoveOutcome::Refused;
  }

  // The increment comes from the full ramp: a move too short for two ramps turns before full speed.
  const std::int64_t fullRamp = rampSteps(f0, f1, rampMs);
  const double increment = fullRamp > 0 ? static_cast<double>(f1 - f0) / static_cast<double>(fullRamp) : 0.0;
  const std::uint64_t ramp = std::min(static_cast<std::uint64_t>(fullRamp), total / 2);
  const std::int64_t pulseTicks = stepDirection ? kLptTicksPerSecond / config_.pulseDivisor : 0;
  std::uint8_t allStepBits = 0;
  for (std::uint8_t mask : config_.stepMask) allStepBits |= mask;

  // The generator thread comes to a move from a blocking wait: for the command or a pause.
  lastBlock_ = clock_.nowNanos();
  double frequency = f0;
  std::array<std::uint64_t, kLptAxes> accumulator = size;
  std::uint64_t remaining = total;
  MoveOutcome outcome = MoveOutcome::Done;
  bool ended = false;
  bool decelerating = false;
  while (remaining > 0 && !ended && !stops_.immediate.load(std::memory_order_relaxed)) {
    const std::int64_t t0 = clock_.nowNanos();

    // Bresenham: the lead axis steps every time, the others when their share has come due.
    Schritt_vorbereiten(lead, positive[lead], stepDirection);
    --remaining;
    for (std::size_t i = 0; i < kLptAxes; ++i) {
      if (i == lead || size[i] == 0) continue;
      accumulator[i] += size[i];
      if (accumulator[i] >= total) {
        accumulator[i] -= total;
        Schritt_vorbereiten(i, positive[i], stepDirection);
      }
    }
    if (stepDirection) {
      port_.Schrittimpuls_ausgeben(config_, portImage_, pulseTicks);
      portImage_ = static_cast<std::uint8_t>(portImage_ & ~allStepBits);
    }

    if (Endschalter_abfragen()) {
      if (conditions.limitStop) {
        ui_.beep(kWarnHz, kWarnMs);
        outcome = MoveOutcome::LimitSwitch;
        ended = true;
      }
      if (conditions.stopWhenActive) ended = true;
    } else if (conditions.stopWhenReleased) {
      ended = true;
    }

    // A decelerated stop only ever shortens the move: at most one ramp's worth of steps remains.
    if (stops_.decelerated.exchange(false)) {
      if (outcome == MoveOutcome::Done) outcome = MoveOutcome::Stopped;
      remaining = std::min(remaining, ramp);
      decelerating = true;
    }

    const std::int64_t due = t0 + static_cast<std::int64_t>(static_cast<double>(kLptTicksPerSecond) / frequency);
    waitForStep(due);

    // Never below the start frequency: every step stays timed.
    if (decelerating) {
      frequency = std::max<double>(f0, frequency - increment);
    } else if (remaining >= total - ramp) {
      frequency = std::min<double>(f1, frequency + increment);
    } else if (remaining <= ramp) {
      frequency = std::max<double>(f0, frequency - increment);
    }
  }
  if (stops_.immediate.exchange(false) && outcome == MoveOutcome::Done) outcome = MoveOutcome::Stopped;
  if (conditionMet != nullptr) *conditionMet = ended;
  return outcome;
}

void StepGenerator::waitForStep(std::int64_t due) {
  const std::int64_t now = clock_.nowNanos();
  if (now > due) {
    ui_.lateStepBeep();
    return;
  }
  // Without real-time priority the scheduler shares the processor with the other threads on its
  // own, and a sleeping thread would wake later than a busy one steps: the whole wait is spun.
  if (realtime_) {
    if (due - now > kSleepTail + kShortestSleep) {
      // A slow step: the processor goes to the others until shortly before the step is due.
      clock_.sleepUntilNanos(due - kSleepTail);
      lastBlock_ = due;
    } else if (now - lastBlock_ >= kLongestSpin) {
      // A fast move leaves no time to spare; once in a while one step is late by a short sleep,
      // so that no other thread on this processor waits longer than that for it.
      clock_.sleepUntilNanos(std::max(due, now + kShortestSleep));
      lastBlock_ = clock_.nowNanos();
    }
  }
  clock_.spinUntilNanos(due);
}

MoveOutcome StepGenerator::Referenzfahrt_Achse(bool stepDirection, char axis, int offset, int f0, int f1, int rampMs,
                                               bool& referenced) {
  referenced = false;
  // The limit stop of the configuration stays untouched: during homing it is off.
  StopConditions conditions;
  MoveOutcome outcome = MoveOutcome::Done;
  // One run; true when its condition (a switch active, or none any more) ended it.
  const auto run = [&](std::size_t index, std::int64_t steps, bool allAxes) {
    std::array<std::int64_t, kLptAxes> move{};
    if (allAxes) {
      move = {steps, steps, steps, 0};
    } else {
      move[index] = steps;
    }
    bool met = false;
    const MoveOutcome result = Schrittgenerator(stepDirection, move, f0, f1, rampMs, conditions, &met);
    if (endsHoming(result) && !endsHoming(outcome)) outcome = result;
    return met;
  };
  const auto pause = [&] { clock_.sleepMillis(kHomingPauseMs); };

  // Standing on a switch: first off it, with all three axes.
  if (Endschalter_abfragen()) {
    conditions.stopWhenReleased = true;
    run(0, kHomingTravel, true);
    conditions.stopWhenReleased = false;
    pause();
  }

  if (const int slot = axisSlot(axis); slot >= 0) {
    const auto index = static_cast<std::size_t>(slot);
    conditions.stopWhenActive = true;
    const bool found = !endsHoming(outcome) && run(index, -kHomingTravel, false);
    conditions.stopWhenActive = false;
    if (!endsHoming(outcome)) pause();
    conditions.stopWhenReleased = true;
    const bool left = !endsHoming(outcome) && run(index, kHomingTravel, false);
    conditions.stopWhenReleased = false;
    if (!endsHoming(outcome)) {
      pause();
      run(index, offset, false);
    }
    // A run stopped on its way, or one that travelled its whole length without finding or
    // leaving the switch, has not reached the reference point.
    referenced = found && left && !endsHoming(outcome);
  }
  pause();
  return outcome;
}

void StepGenerator::Schritt_vorbereiten(std::size_t axis, bool positive, bool stepDirection) {
  positions_[axis] += positive ? 1 : -1;
  if (stepDirection) {
    const std::uint8_t direction = config_.directionMask[axis];
    portImage_ = positive ? static_cast<std::uint8_t>(portImage_ | direction)
                          : static_cast<std::uint8_t>(portImage_ & ~direction);
    portImage_ = static_cast<std::uint8_t>(portImage_ | config_.stepMask[axis]);
    return;
  }
  // Phase patterns exist for x, y and z only (a u run is refused before).
  int& index = phaseIndex_[axis];
  const int last = config_.tables.lastIndex;
  if (positive) {
    index = index >= last ? 0 : index + 1;
  } else {
    index = (index <= 0 || index > last) ? last : index - 1;
  }
  const auto byte = static_cast<std::uint8_t>(config_.tables.phase[static_cast<std::size_t>(index)] +
                                              kChannelStep * static_cast<int>(axis));
  port_.Datenbyte_takten(config_, byte);
}

bool StepGenerator::Endschalter_abfragen() {
  int active = 0;
  for (int i = 0; i < kLimitSamples; ++i) {
    std::uint8_t status = 0;
    // A status register that cannot be read counts as a switch: no move runs blind.
    if (!port_.read(config_.statusPort, status) || sampleActive(status)) ++active;
    port_.Ticks_warten(kSampleGapTicks);
  }
  return active >= kLimitSamplesNeeded;
}

bool StepGenerator::sampleActive(std::uint8_t status) const {
  // Every input of the layout counts; the switches of all axes share the test.
  const bool pin10High = (status & kStatusPin10) != 0;
  const bool pin11High = (status & kStatusPin11) == 0;
  const bool pin12High = (status & kStatusPin12) != 0;
  const bool pin13High = (status & kStatusPin13) != 0;
  const bool pin15High = (status & kStatusPin15) != 0;
  const bool level = config_.activeHigh;
  if (config_.singleInput) return pin11High == level;
  if (config_.fourInputs) return pin11High == level || pin12High == level || pin13High == level || pin15High == level;
  return pin10High == level || pin11High == level || pin12High == level;
}

void StepGenerator::Haltestrom_ausgeben(const LptConfig& config, bool withZ) {
  const std::size_t channels = withZ ? 3 : 2;
  for (std::size_t axis = 0; axis < channels; ++axis) {
    const auto byte = static_cast<std::uint8_t>(config.tables.holding[static_cast<std::size_t>(phaseIndex_[axis])] +
                                                kChannelStep * static_cast<int>(axis));
    port_.Datenbyte_takten(config, byte);
  }
}

}  // namespace machine
