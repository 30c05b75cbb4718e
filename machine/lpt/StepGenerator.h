// The step generator proper: vector moves with a linear speed ramp, in step/direction or
// phase-pattern form, homing runs of one axis onto its limit switch, and the holding-current
// output of the phase-pattern card. It keeps what persists between moves: the data-register image,
// the phase index of each axis and the step counters of the last command.
//
// Thread context: the generator thread only (TlptThread); the stop requests are the one thing
// other threads touch, through their atomics. Every step waits on the clock, busy but for the
// sleeps of setRealtime. The port, the
// clock, the UI and the stop requests must outlive the object.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "machine/MoveOutcome.h"
#include "machine/lpt/LptConfig.h"
#include "machine/lpt/LptPort.h"
#include "machine/lpt/LptUi.h"
#include "platform/Clock.h"

namespace machine {

// Stop requests, set by other threads and obeyed by the generator at its next step.
struct StopRequests {
  std::atomic<bool> decelerated{false};
  std::atomic<bool> immediate{false};
};

// One command of the generator thread.
struct GeneratorCommand {
  static constexpr int kHoming = 1;
  static constexpr int kVectorMove = 2;

  int command = 0;
  bool stepDirection = false;         // step/direction outputs; false: phase patterns
  char axis = 0;                      // homing: 'x', 'y', 'z' or 'u', either case
  int offset = 0;                     // homing: steps to travel once the switch has been left
  std::array<int, kLptAxes> steps{};  // vector move: signed steps of x, y, z, u
  int startFrequency = 0;
  int endFrequency = 0;
  int rampMs = 0;
};

struct GeneratorResult {
  MoveOutcome outcome = MoveOutcome::Done;
  // Homing: the axis found its switch, left it again and travelled its offset, so it stands at
  // its reference point.
  bool referenced = false;
  // Steps made by the command per axis (x, y, z, u).
  std::array<int, kLptAxes> positions{};
};

class StepGenerator {
 public:
  StepGenerator(LptPort& port, platform::Clock& clock, LptUi& ui, StopRequests& stops);

  // Runs a homing run or a vector move with `config`; the step counters start at 0.
  GeneratorResult Befehl_ausfuehren(const GeneratorCommand& command, const LptConfig& config);
  // Clocks out the holding pattern of each axis's current phase index: x, y and, `withZ`, z.
  void Haltestrom_ausgeben(const LptConfig& config, bool withZ);
  // Whether the generator thread runs with real-time priority. Then no other thread of its
  // processor gets a turn while it spins, so it sleeps through the long part of each slow step's
  // wait and gives up the processor at least once every 10 ms, at the cost of one step late by
  // some 20 microseconds.
  void setRealtime(bool realtime) { realtime_ = realtime; }

 private:
  // What ends a move besides its step count and the stop requests.
  struct StopConditions {
    bool limitStop = false;         // an active switch ends it with a beep
    bool stopWhenActive = false;    // homing: ends when a switch becomes active
    bool stopWhenReleased = false;  // homing: ends when no switch is active any more
  };

  // One move of x, y, z and u together. A run of the u axis alone (the homing of u) is a move of
  // u only, so there is no Schrittgenerator_U beside it; the phase-pattern card has no u axis
  // and refuses such a move at once. `conditionMet`, if given, tells whether one of the
  // conditions ended the move.
  MoveOutcome Schrittgenerator(bool stepDirection, const std::array<std::int64_t, kLptAxes>& steps, int f0, int f1,
                               int rampMs, const StopConditions& conditions, bool* conditionMet = nullptr);
  // `referenced`: whether the axis ended at its reference point (GeneratorResult::referenced).
  MoveOutcome Referenzfahrt_Achse(bool stepDirection, char axis, int offset, int f0, int f1, int rampMs,
                                  bool& referenced);
  // One step of `axis` in its direction: counts it and prepares the direction and step bits in
  // the image (step/direction) or clocks out the axis's next phase pattern.
  void Schritt_vorbereiten(std::size_t axis, bool positive, bool stepDirection);
  // True when more than one of four samples of the status register shows an active switch.
  bool Endschalter_abfragen();
  bool sampleActive(std::uint8_t status) const;
  // Waits for the step due at `due`; a step already late only beeps.
  void waitForStep(std::int64_t due);

  LptPort& port_;
  platform::Clock& clock_;
  LptUi& ui_;
  StopRequests& stops_;

  LptConfig config_;  // of the running command
  std::uint8_t portImage_ = 0;
  std::array<int, 3> phaseIndex_{};  // x, y, z
  std::array<std::int64_t, kLptAxes> positions_{};
  bool realtime_ = false;
  std::int64_t lastBlock_ = 0;  // when the generator last gave up the processor
};

}  // namespace machine
