// Rigs on the simulated parallel port with virtual time: the port with its clock and UI doubles,
// and the parallel-port unit on it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SimulatedParallelPort.h"
#include "machine/lpt/LptUi.h"
#include "machine/lpt/LptUnit.h"
#include "support/ManualClock.h"
#include "support/QueueDispatcher.h"
#include "support/ScriptedUi.h"

namespace machinetest {

// Virtual time, scripted UI services, a GUI dispatcher that the test thread drains and the
// simulated port at 0x378.
struct SimulatedPortRig {
  // The tones and boxes posted so far (the dispatcher is drained first).
  std::vector<testsupport::UiCall> beeps() {
    gui.drain();
    return ui.beeps();
  }
  std::vector<testsupport::UiCall> boxes() {
    gui.drain();
    return ui.messageBoxes();
  }

  // The gaps between successive times.
  static std::vector<std::int64_t> intervals(const std::vector<std::int64_t>& times) {
    std::vector<std::int64_t> gaps;
    for (std::size_t i = 1; i < times.size(); ++i) gaps.push_back(times[i] - times[i - 1]);
    return gaps;
  }
  // The gaps between the rising step edges of an axis, in nanoseconds.
  std::vector<std::int64_t> stepIntervals(int axis) const { return intervals(port.stepTimes(axis)); }

  testsupport::ManualClock clock{1'000'000};
  testsupport::ScriptedUi ui;
  testsupport::QueueDispatcher gui;
  peers::SimulatedParallelPort port{clock};
};

// The unit on the simulated port, opened and claimed, set up by default for a step/direction
// controller of type 7 (three limit inputs, active low, all released).
struct LptRig : SimulatedPortRig {
  LptRig() {
    unit.Lpt_oeffnen();
    unit.LptAdresse_setzen("378");
    port.clearRecord();
  }

  machine::LptUi lptUi{ui, gui};
  machine::LptUnit unit{port.connection(), clock, lptUi};
};

// Period of a frequency in the generator's ticks (nanoseconds), truncated as it waits.
inline std::int64_t periodOf(double hz) { return static_cast<std::int64_t>(1e9 / hz); }

}  // namespace machinetest
