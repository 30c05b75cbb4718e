// Tests of the step generator's arithmetic: the lead axis, the ramp length and the acceptance of
// a move's speeds.
#include <gtest/gtest.h>

#include <limits>

#include "machine/lpt/StepRamp.h"

namespace {

TEST(StepRamp, LeadAxisIsTheLongestTiesGoToTheEarlierAxis) {
  const struct {
    std::array<std::uint64_t, 4> steps;
    std::size_t lead;
  } cases[] = {
      {{1000, 1000, 0, 0}, 0}, {{0, 5, 5, 0}, 1}, {{3, 2, 4, 0}, 2}, {{4, 2, 4, 0}, 0},
      {{1, 7, 3, 0}, 1},       {{0, 0, 0, 9}, 3}, {{0, 0, 0, 0}, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(machine::dominantAxis(c.steps), c.lead) << c.steps[0] << " " << c.steps[1] << " " << c.steps[2];
}

TEST(StepRamp, RampStepsAreTheRampTimeOverTheMeanPeriodTruncated) {
  const struct {
    int f0, f1, rampMs;
    std::int64_t steps;
  } cases[] = {
      {200, 600, 200, 120},
      {100, 500, 320, 80},
      {400, 400, 200, 0},  // no ramp without a change of speed
      {200, 600, 0, 0},
      // Whole numbers of steps that the floating-point formula would truncate to one less.
      {8, 9, 500, 72},
      {22, 23, 1000, 1012},
      {50, 51, 10, 51},
      {200, 201, 60000, 4824000},
  };
  for (const auto& c : cases)
    EXPECT_EQ(machine::rampSteps(c.f0, c.f1, c.rampMs), c.steps) << c.f0 << " " << c.f1 << " " << c.rampMs;

  // Close frequencies near the top make ramps longer than any move; they saturate, never wrap.
  const int top = std::numeric_limits<int>::max();
  EXPECT_EQ(machine::rampSteps(top - 1, top, 60000), std::numeric_limits<std::int64_t>::max());
  EXPECT_GT(machine::rampSteps(1, top, 60000), 0);
}

TEST(StepRamp, MovesNeedPositiveRisingSpeedsWithinTheLimitAndARampOfAtMostOneMinute) {
  const struct {
    int f0, f1, rampMs;
    bool accepted;
  } cases[] = {
      {200, 600, 200, true}, {600, 600, 0, true},      {1, 1, 60000, true},      {0, 600, 200, false},
      {200, 0, 200, false},  {600, 200, 200, false},   {200, 12001, 200, false}, {12001, 12001, 0, false},
      {200, 600, -1, false}, {200, 600, 60001, false}, {-5, 600, 200, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(machine::moveAccepted(c.f0, c.f1, c.rampMs, 12000), c.accepted) << c.f0 << " " << c.f1 << " " << c.rampMs;
}

}  // namespace
