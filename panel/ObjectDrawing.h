// Drawing steps that the object types share: pens, the dotted travel line, and handle squares.
//
// Thread context: whoever draws on the canvas (the GUI thread for a redraw). Nothing blocks.
#pragma once

#include <initializer_list>
#include <string_view>

#include "panel/DrawContext.h"
#include "panel/DrawHelpers.h"
#include "panel/RowCells.h"
#include "platform/Canvas.h"

namespace panel {

inline platform::Pen solidPen(platform::Colour colour) {
  return platform::Pen{colour, 1, platform::PenStyle::Solid, platform::PenMode::Copy};
}

inline platform::Pen dottedPen(platform::Colour colour) {
  return platform::Pen{colour, 1, platform::PenStyle::Dot, platform::PenMode::Copy};
}

// The dotted pen of a tool path in its colour, or in the invalid colour for an object that cannot
// be milled.
inline platform::Pen toolPathPen(const Palette& farben, platform::Colour colour, bool gueltig) {
  return dottedPen(gueltig ? colour : farben.FarbeUngueltig);
}

// The brush of outlines: nothing filled, the colour kept.
inline void clearBrush(platform::Canvas& canvas) {
  canvas.setBrush(platform::Brush{canvas.brush().colour, platform::BrushStyle::Clear});
}

// The dotted travel line from the pen position to where the cut starts; only for mode "ja".
inline void drawTravel(DrawContext& context, std::string_view modus, platform::Point to) {
  if (!isMilled(modus)) return;
  context.canvas.setPen(dottedPen(context.form.Farben.FarbeLeerfahrt));
  context.canvas.lineTo(to.x, to.y);
}

// Black handle squares at the given points.
inline void drawHandles(platform::Canvas& canvas, std::initializer_list<platform::Point> points) {
  for (const platform::Point& p : points) GriffZeichnen(canvas, p.x, p.y);
}

}  // namespace panel
