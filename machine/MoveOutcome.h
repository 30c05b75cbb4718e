// How a move or homing run of the parallel-port step generator ended.
//
// Thread context: a plain value.
#pragma once

namespace machine {

enum class MoveOutcome {
  Done,         // every step made, or a homing run ended at its switch
  Stopped,      // a decelerated or immediate stop request ended it early
  Refused,      // speeds, ramp or step mode not acceptable: nothing moved
  LimitSwitch,  // an active limit switch ended it
  NotStarted,   // a stop request stood when it was posted: nothing moved
};

}  // namespace machine
