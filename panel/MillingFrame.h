// The milling frame that the contour types share: nothing unless the mode is "ja", the double
// beep for an object that cannot be milled, travel to the start, coolant on, plunge, the path at
// depth, coolant off. There is no retract: the next travel or the step after machining lifts
// the tool.
//
// Thread context: the thread that runs the job. Blocks while the machine moves; failure codes
// from the motion primitives pass through (the coolant then stays as it is; the run's handler
// switches it off).
#pragma once

#include <string_view>

#include "panel/MillContext.h"
#include "panel/RowCells.h"

namespace panel {

// Steps 1 and 2 of the frame: true when the object is to be milled; an object in mode "ja" that
// cannot be milled sounds the error signal and gives false.
inline bool mayMill(MillContext& context, std::string_view modus, bool gueltig) {
  if (!isMilled(modus)) return false;
  if (!gueltig) {
    if (context.FehlerSignal) context.FehlerSignal();
    return false;
  }
  return true;
}

// The whole frame around `path`, which cuts at `depth` with speed index 1.
template <class Path>
void millContour(MillContext& context, std::string_view modus, bool gueltig, double xStart, double yStart, double depth,
                 Path&& path) {
  if (!mayMill(context, modus, gueltig)) return;
  context.motion.cncMoveTo(xStart, yStart);
  context.motion.cncKuehlmittelpumpe(1);
  context.motion.cncLineTo(0, xStart, yStart, depth);
  path();
  context.motion.cncKuehlmittelpumpe(0);
}

}  // namespace panel
