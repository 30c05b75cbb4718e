// Drawing of a panel document into the off-screen bitmap: layout, background, rulers, origin
// marker, the rows through their types' drawing roles, extent, copies and rubber band.
//
// Thread context: GUI thread (a redraw). Blocks only on the trace log's file I/O.
#pragma once

#include <string_view>

#include "panel/DrawContext.h"
#include "panel/PanelView.h"
#include "platform/Canvas.h"

namespace panel {

// Font of the rulers and row numbers. A machine without it falls back to a monospace font.
inline constexpr std::string_view kLinealSchrift = "Courier New";
inline constexpr int kLinealSchriftgroesse = 8;

// Origin, available size and scale of `view` from the canvas size and the view's world window.
void PanelLayoutBerechnen(PanelAnsicht& view, platform::Canvas& canvas);
// Grey bitmap with the white panel between (x0, y0 - height) and (x0 + width, y0).
void PanelHintergrundZeichnen(platform::Canvas& canvas, int x0, int y0, int width, int height);
// Ruler ticks and labels below and left of the panel.
void LinealeZeichnen(platform::Canvas& canvas, int x0, int y0, int width, int height, double scale, double xMin,
                     double yMin, double xMax, double yMax);
// Origin marker at world (0, 0), with the travel line to it when travel moves are shown.
void NullpunktZeichnen(DrawContext& context);
// Row number in a circle at (x, y), shifted right for the row hit by the last selection.
void NummerZeichnen(DrawContext& context, int x, int y, int row);
void GummiRectZeichnen(DrawContext& context);
void AusdehnungZeichnen(DrawContext& context);
// The further copies of multi-up production, never drawn selected and without row numbers.
void NutzenZeichnen(DrawContext& context);
// The whole panel document.
void DrawTVXFormat(DrawContext& context);
// Redraw of the open document by its kind: the panel drawing, or the format module's paint.
void AnsichtNeuZeichnen(DrawContext& context);

}  // namespace panel
