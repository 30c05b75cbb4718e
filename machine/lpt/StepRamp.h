// The arithmetic of a move of the step generator: which axis leads, how many steps the speed ramp
// takes, and which start and end frequencies it accepts.
//
// Thread context: any thread; pure functions.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace machine {

// The longest ramp the generator accepts, in milliseconds.
inline constexpr int kMaxRampMs = 60000;

// The axis with the most steps; of equal counts the first in the order x, y, z, u.
std::size_t dominantAxis(const std::array<std::uint64_t, 4>& magnitudes);

// Steps in which a linear ramp from `f0` to `f1` (steps per second, 1 <= f0 <= f1) lasts
// `rampMs`: rampMs / 1000 divided by the mean period (1/f0 - 1/f1) / 2, truncated; 0 when f0
// equals f1. Exact in integers, so that a whole number of steps is not lost to rounding; very
// long ramps saturate.
std::int64_t rampSteps(int f0, int f1, int rampMs);

// Whether the generator accepts the frequencies and the ramp of a move: 1 <= f0 <= f1 <=
// `maxFrequency` and 0 <= rampMs <= kMaxRampMs.
bool moveAccepted(int f0, int f1, int rampMs, int maxFrequency);

}  // namespace machine
