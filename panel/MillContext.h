// What the milling walk and the object types' milling roles work on.
//
// Thread context: built by the caller of a run for that run only, on the thread that runs it
// (the run worker, or the GUI thread for a program-memory job). It refers to, and does not own,
// the main window's state (a run's snapshot) and the dispatch table; both must outlive the run.
#pragma once

#include "panel/MainFormState.h"
#include "panel/ObjectTypeTable.h"

#include <functional>

namespace panel {

struct MillContext {
  TMainFormState& form;
  const ObjectTypeTable& objectTypes;
  // Called after each row, once the progress position is set: copies the drawing bitmap to the
  // screen (routed to the GUI thread by whoever supplies it). May be empty.
  std::function<void()> onRowDone;
};

}  // namespace panel
