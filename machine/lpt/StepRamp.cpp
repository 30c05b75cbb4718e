// Lead axis, ramp length and the acceptance test of a move.
#include "StepRamp.h"

#include <limits>

namespace machine {

std::size_t dominantAxis(const std::array<std::uint64_t, 4>& magnitudes) {
  std::size_t best = 0;
  for (std::size_t i = 1; i < magnitudes.size(); ++i)
    if (magnitudes[i] > magnitudes[best]) best = i;
  return best;
}

std::int64_t rampSteps(int f0, int f1, int rampMs) {
  if (f0 < 1 || f1 <= f0 || rampMs <= 0) return 0;
  // rampMs / 1000 / ((1/f0 - 1/f1) / 2) = 2 rampMs f0 f1 / (1000 (f1 - f0)), taken apart so that
  // no product leaves 64 bits: f0 f1 = q d + r.
  const std::uint64_t product = static_cast<std::uint64_t>(f0) * static_cast<std::uint64_t>(f1);
  const std::uint64_t d = static_cast<std::uint64_t>(f1) - static_cast<std::uint64_t>(f0);
  const std::uint64_t k = 2u * static_cast<std::uint64_t>(rampMs);
  const std::uint64_t q = product / d;
  const std::uint64_t r = product % d;
  constexpr std::uint64_t kLimit = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  if (q > (kLimit - k) / k) return std::numeric_limits<std::int64_t>::max();
  return static_cast<std::int64_t>((k * q + (k * r) / d) / 1000u);
}

bool moveAccepted(int f0, int f1, int rampMs, int maxFrequency) {
  return f0 >= 1 && f0 <= maxFrequency && f1 >= 1 && f1 <= maxFrequency && rampMs >= 0 && rampMs <= kMaxRampMs &&
         f1 >= f0;
}

}  // namespace machine
