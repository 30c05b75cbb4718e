// The phase patterns of the phase-pattern card: the coil states of a motor for each phase index,
// in half or full step, and the reduced holding-current pattern for each phase index.
//
// Thread context: any thread; plain values.
#pragma once

#include <array>

namespace machine {

struct PhaseTables {
  std::array<int, 8> phase{};    // pattern by phase index (bits 0-5)
  std::array<int, 8> holding{};  // holding-current pattern by phase index
  int lastIndex = 0;             // 3 in full step (four patterns), 7 in half step (eight)
  bool set = false;              // the phase patterns are usable
};

struct PhaseTableChoice {
  PhaseTables tables;
  bool stepModeValid = false;        // 0 half step, 1 full step
  bool holdingCurrentValid = false;  // 0, 1 or 2
};

// The tables for `stepMode` and `holdingCurrent`. An unknown step mode leaves both tables cleared
// and unusable; an unknown holding current leaves only the holding patterns cleared.
PhaseTableChoice phaseTablesFor(int stepMode, int holdingCurrent);

}  // namespace machine
