// The range of step counts the controllers take, and the check every machine move passes before
// it is sent.
//
// Thread context: pure functions; any thread. Nothing blocks.
#pragma once

#include <cstdint>

#include "machine/FailureCodes.h"

namespace machine {

// Largest magnitude of a step count in one move and of a machine position a move leads to. It
// lies well inside the 32-bit range that the controllers and their drivers count in, so that a
// position plus a move can never overflow it, and far beyond the travel of any machine (2500 m at
// 400 steps per millimetre).
inline constexpr std::int64_t kMaxSchritte = 1'000'000'000;

// The step count, when it lies within plus or minus kMaxSchritte; otherwise throws
// STEP_RANGE_ERROR.
inline int checkedSteps(std::int64_t steps) {
  if (steps < -kMaxSchritte || steps > kMaxSchritte) throw STEP_RANGE_ERROR;
  return static_cast<int>(steps);
}

}  // namespace machine
