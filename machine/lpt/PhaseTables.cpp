// The pattern tables of the phase-pattern card.
#include "PhaseTables.h"

#include <cstddef>

namespace machine {

namespace {

constexpr std::array<int, 8> kHalfStep{39, 45, 28, 13, 3, 9, 56, 41};
constexpr std::array<int, 8> kFullStep{4, 0, 32, 36, 0, 0, 0, 0};

// Holding patterns by holding current (0, 1, 2), for half and full step.
constexpr std::array<std::array<int, 8>, 3> kHalfStepHolding{{
    {63, 63, 31, 31, 27, 27, 59, 59},
    {55, 54, 30, 22, 19, 18, 58, 50},
    {47, 45, 29, 13, 11, 9, 57, 41},
}};
constexpr std::array<std::array<int, 8>, 3> kFullStepHolding{{
    {31, 27, 59, 63, 0, 0, 0, 0},
    {22, 18, 50, 54, 0, 0, 0, 0},
    {13, 9, 41, 45, 0, 0, 0, 0},
}};

constexpr int kHalfStepMode = 0;
constexpr int kFullStepMode = 1;

}  // namespace

PhaseTableChoice phaseTablesFor(int stepMode, int holdingCurrent) {
  PhaseTableChoice choice;
  if (stepMode != kHalfStepMode && stepMode != kFullStepMode) return choice;
  const bool half = stepMode == kHalfStepMode;
  choice.stepModeValid = true;
  choice.tables.phase = half ? kHalfStep : kFullStep;
  choice.tables.lastIndex = half ? 7 : 3;
  choice.tables.set = true;
  if (holdingCurrent >= 0 && holdingCurrent <= 2) {
    choice.holdingCurrentValid = true;
    const auto index = static_cast<std::size_t>(holdingCurrent);
    choice.tables.holding = half ? kHalfStepHolding[index] : kFullStepHolding[index];
  }
  return choice;
}

}  // namespace machine
