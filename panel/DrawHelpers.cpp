// Handles, arrow heads, circles and arcs.
#include "DrawHelpers.h"

#include <cmath>
#include <numbers>

#include "panel/Palette.h"
#include "panel/PanelView.h"
#include "platform/NumberFormat.h"

namespace panel {

using platform::Brush;
using platform::BrushStyle;
using platform::Canvas;
using platform::Pen;
using platform::PenStyle;
using platform::Point;

namespace {

void fillSquare(Canvas& canvas, int x, int y, platform::Colour colour) {
  const Brush saved = canvas.brush();
  canvas.setBrush(Brush{colour, BrushStyle::Solid});
  canvas.fillRect({x - 5, y - 5, x + 5, y + 5});
  canvas.setBrush(saved);
}

// Sets a brush and the pen's colour and style for one shape and puts the canvas's own back after.
class ScopedPenAndBrush {
 public:
  ScopedPenAndBrush(Canvas& canvas, platform::Colour brushColour, BrushStyle brushStyle, platform::Colour penColour,
                    PenStyle penStyle)
      : canvas_(canvas), brush_(canvas.brush()), pen_(canvas.pen()) {
    canvas.setBrush(Brush{brushColour, brushStyle});
    Pen pen = pen_;
    pen.colour = penColour;
    pen.style = penStyle;
    canvas.setPen(pen);
  }
  ~ScopedPenAndBrush() {
    canvas_.setBrush(brush_);
    canvas_.setPen(pen_);
  }
  ScopedPenAndBrush(const ScopedPenAndBrush&) = delete;
  ScopedPenAndBrush& operator=(const ScopedPenAndBrush&) = delete;

 private:
  Canvas& canvas_;
  Brush brush_;
  Pen pen_;
};

// Direction of (dx, dy) in degrees, y up; straight up for a zero vector.
double directionDegrees(int dx, int dy) {
  if (dx == 0) return dy < 0 ? 270.0 : 90.0;
  if (dy == 0) return dx > 0 ? 0.0 : 180.0;
  return RadZuGrad(std::atan2(static_cast<double>(dy), static_cast<double>(dx)));
}

}  // namespace

int fontHeight(const platform::Font& font) { return -platform::saturatingRound(font.size * 96.0 / 72.0); }

void GriffZeichnen(Canvas& canvas, int x, int y) { fillSquare(canvas, x, y, kGriffFarbe); }

void AktivGriffZeichnen(Canvas& canvas, int x, int y) { fillSquare(canvas, x, y, kAktivGriffFarbe); }

void PfeilspitzeZeichnen(Canvas& canvas, int x1, int y1, int x2, int y2) {
  const double phi = GradZuRad(directionDegrees(x2 - x1, y1 - y2));
  const int s = platform::saturatingTrunc(4.0 * std::sin(phi));
  const int c = platform::saturatingTrunc(4.0 * std::cos(phi));

  const Point pos = canvas.penPos();
  const Pen savedPen = canvas.pen();
  const Brush savedBrush = canvas.brush();
  Pen pen = savedPen;
  pen.style = PenStyle::Solid;
  canvas.setPen(pen);
  canvas.setBrush(Brush{savedPen.colour, BrushStyle::Solid});
  canvas.polygon({{x1, y1}, {x1 + s, y1 + c}, {x1 + 3 * c, y1 - 3 * s}, {x1 - s, y1 - c}, {x1, y1}});
  canvas.setPen(savedPen);
  canvas.setBrush(Brush{savedPen.colour, savedBrush.style});
  canvas.moveTo(pos.x, pos.y);
}

Point circlePoint(int cx, int cy, double r, double angleDegrees) {
  const double a = angleDegrees * std::numbers::pi / 180.0;
  return {platform::saturatingTrunc(cx + std::trunc(r * std::cos(a))),
          platform::saturatingTrunc(cy - std::trunc(r * std::sin(a)))};
}

void RichtungspfeilZeichnen(Canvas& canvas, int cx, int cy, int r, double alpha, bool clockwise) {
  const double h = r > 0 ? RadZuGrad(12.0 / r) : 90.0;
  const double beta = clockwise ? alpha - h : alpha + h;
  const Point from = circlePoint(cx, cy, r, alpha);
  const Point towards = circlePoint(cx, cy, r, beta);
  PfeilspitzeZeichnen(canvas, from.x, from.y, towards.x, towards.y);
}

void DrawKreis(Canvas& canvas, int cx, int cy, int r, platform::Colour brushColour, BrushStyle brushStyle,
               platform::Colour penColour, PenStyle penStyle) {
  const ScopedPenAndBrush style(canvas, brushColour, brushStyle, penColour, penStyle);
  canvas.ellipse(cx - r, cy - r, cx + r, cy + r);
  canvas.moveTo(cx - r, cy);
}

void DrawBogen(Canvas& canvas, bool clockwise, int cx, int cy, int r, double startAngle, double endAngle,
               platform::Colour brushColour, BrushStyle brushStyle, platform::Colour penColour, PenStyle penStyle) {
  const ScopedPenAndBrush style(canvas, brushColour, brushStyle, penColour, penStyle);
  const Point start = circlePoint(cx, cy, r, startAngle);
  const Point end = circlePoint(cx, cy, r, endAngle);
  // The canvas draws arcs counter-clockwise; a clockwise arc is the same arc from its end.
  if (clockwise) {
    canvas.arc(cx - r, cy - r, cx + r, cy + r, end.x, end.y, start.x, start.y);
  } else {
    canvas.arc(cx - r, cy - r, cx + r, cy + r, start.x, start.y, end.x, end.y);
  }
  canvas.moveTo(end.x, end.y);
}

}  // namespace panel
