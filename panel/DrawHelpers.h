// Small drawing helpers of the panel and the object types: handles, arrow heads, direction
// arrows, circles and arcs, in bitmap pixels.
//
// Thread context: whoever draws on the canvas (the GUI thread for a redraw, the running thread
// for a cut). Nothing blocks.
#pragma once

#include "platform/Canvas.h"

namespace panel {

// Font height of a point size as the old bitmap reports it: negative pixels at 96 dpi.
int fontHeight(const platform::Font& font);

// 10 x 10 square from (x - 5, y - 5), black or red; the pen position and the brush are kept.
void GriffZeichnen(platform::Canvas& canvas, int x, int y);
void AktivGriffZeichnen(platform::Canvas& canvas, int x, int y);

// Filled arrow head in the pen colour at (x1, y1) pointing towards (x2, y2): tip 12 px away,
// base 8 px wide. The pen position and the pen and brush styles are kept; the brush colour
// becomes the pen colour.
void PfeilspitzeZeichnen(platform::Canvas& canvas, int x1, int y1, int x2, int y2);

// Arrow head on a circle of radius r (px) at angle alpha (degrees, counter-clockwise from the
// right), pointing along the milling direction.
void RichtungspfeilZeichnen(platform::Canvas& canvas, int cx, int cy, int r, double alpha, bool clockwise);

// Circle of radius r with the given brush and pen; the pen ends at (cx - r, cy); the canvas's
// brush and pen colours and styles are restored.
void DrawKreis(platform::Canvas& canvas, int cx, int cy, int r, platform::Colour brushColour,
               platform::BrushStyle brushStyle, platform::Colour penColour, platform::PenStyle penStyle);

// Arc of radius r from startAngle to endAngle (degrees), clockwise or counter-clockwise; the pen
// ends at the point of the end angle; brush and pen restored as for DrawKreis.
void DrawBogen(platform::Canvas& canvas, bool clockwise, int cx, int cy, int r, double startAngle, double endAngle,
               platform::Colour brushColour, platform::BrushStyle brushStyle, platform::Colour penColour,
               platform::PenStyle penStyle);

// Point of a circle at an angle in degrees: (cx + trunc(r cos a), cy - trunc(r sin a)).
platform::Point circlePoint(int cx, int cy, double r, double angleDegrees);

}  // namespace panel
