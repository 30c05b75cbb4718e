// Plain state of the main window's controls that the shell reads and writes: enabled and visible
// flags and captions of panels, group boxes, buttons and menu items (the panel model's types),
// and the caption text of a file name.
//
// Thread context: owned by the GUI thread as part of the window models; nothing blocks.
#pragma once

#include <string>

#include "panel/ControlState.h"

namespace app {

using panel::ControlState;
using panel::MenuItemState;

// A text to be shown as it stands in a caption: every '&' doubled, so that none of them marks
// an accelerator key.
inline std::string ohneKurztasten(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    out += c;
    if (c == '&') out += '&';
  }
  return out;
}

}  // namespace app
