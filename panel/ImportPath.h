// One step of an imported path (HPGL, DIN/ISO, DXF) drawn on the main window's bitmap.
//
// Thread context: GUI thread for a paint; the running thread while a format module's run draws
// its path live. Nothing blocks.
#pragma once

#include <string_view>

#include "panel/DrawContext.h"
#include "panel/PanelView.h"

namespace panel {

// Draws the step to (x, y) mm with the caller's view record: travel words ("MOVETO", "GOO") as
// dotted travel lines when travel moves are shown (else only a pen move), cut words ("LINETO",
// "GO1") as solid lines; other words draw nothing. A live run copies the bitmap to the screen.
void ImportPfadZeichnen(DrawContext& context, const PanelAnsicht& view, std::string_view command, double x, double y);

}  // namespace panel
