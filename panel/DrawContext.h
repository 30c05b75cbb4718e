// What the panel drawing and the object types' drawing roles work on.
//
// Thread context: the GUI thread, for a redraw. Refers to, and does not own, the main window's
// state, the canvas of the off-screen bitmap and the dispatch table.
#pragma once

#include <functional>

#include "panel/DocumentKind.h"
#include "panel/MainFormState.h"
#include "panel/ObjectTypeTable.h"
#include "platform/Canvas.h"

namespace panel {

struct DrawContext {
  TMainFormState& form;
  platform::Canvas& canvas;
  const ObjectTypeTable& objectTypes;
  // Copies the off-screen bitmap to the screen. May be empty.
  std::function<void()> copyToScreen{};
  // After the current row has been drawn as an embedded plot: refreshes the plot's data grid
  // when the grids are shown. May be empty.
  std::function<void()> DrawPageControlOnChange{};
  // Paint of the format module for a foreign document kind (HPGL, command file, DIN/ISO, DXF),
  // with its live-drawing flag cleared first. May be empty.
  std::function<void(DocumentKind)> formatPaint{};
};

}  // namespace panel
