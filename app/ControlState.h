// Plain state of the main window's controls that only the shell reads and writes: enabled and
// visible flags and captions of panels, group boxes, buttons and menu items.
//
// Thread context: owned by the GUI thread as part of the window models; nothing blocks.
#pragma once

#include <string>

#include "panel/ControlState.h"

namespace app {

using panel::MenuItemState;

struct ControlState {
  bool Enabled = true;
  bool Visible = true;
  std::string Caption;
};

}  // namespace app
