// Plain state of the main window's controls that the shell reads and writes: enabled and visible
// flags and captions of panels, group boxes, buttons and menu items (the panel model's types).
//
// Thread context: owned by the GUI thread as part of the window models; nothing blocks.
#pragma once

#include <string>

#include "panel/ControlState.h"

namespace app {

using panel::ControlState;
using panel::MenuItemState;

}  // namespace app
