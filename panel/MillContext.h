// What the milling walk and the object types' milling roles work on.
//
// Thread context: built by the caller of a run for that run only, on the thread that runs it
// (the run worker, or the GUI thread for a program-memory job). It refers to, and does not own,
// the main window's state (a run's snapshot), the dispatch table and the motion primitives; all
// must outlive the run.
#pragma once

#include <functional>

#include "panel/MainFormState.h"
#include "panel/Motion.h"
#include "panel/ObjectTypeTable.h"
#include "platform/Canvas.h"

namespace machine {
class CommandLayer;
}

namespace panel {

struct MillContext {
  TMainFormState& form;
  const ObjectTypeTable& objectTypes;
  MotionPrimitives& motion;
  // Called after each row, once the progress position is set: copies the drawing bitmap to the
  // screen (routed to the GUI thread by whoever supplies it). May be empty.
  std::function<void()> onRowDone{};
  // The double beep for an object that cannot be milled (routed to the GUI thread). May be empty.
  std::function<void()> FehlerSignal{};
  // The run's command layer, for the TOOL rows that send their speeds. May be null (no machine).
  machine::CommandLayer* steuerung = nullptr;
  // Whether a controller is connected: a simulation sends TOOL speeds only then.
  bool bSteuerungVerbunden = false;
  // Maker mode ("/ZELKO"), passed to every controller initialisation.
  bool bHerstellermodus = false;
  // The drawing bitmap, for paths that draw their own steps as they are cut (embedded plots, texts).
  // May be null: then only the motion primitives draw.
  platform::Canvas* canvas = nullptr;
};

}  // namespace panel
