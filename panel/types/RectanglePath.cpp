// Rounded-rectangle path. The first tab of the clockwise path plunges at plunge speed and the
// other three at working speed, as the machines have always cut them.
#include "RectanglePath.h"

#include <cmath>
#include <numbers>

#include "panel/DrawHelpers.h"

namespace panel {

namespace {

PathStep line(double x, double y) {
  PathStep step;
  step.kind = PathStep::Kind::Line;
  step.to = {x, y};
  return step;
}

PathStep arc(double cx, double cy, double r, double start, double end, bool clockwise) {
  PathStep step;
  step.kind = PathStep::Kind::Arc;
  step.centre = {cx, cy};
  step.radius = r;
  step.startAngle = start;
  step.endAngle = end;
  step.clockwise = clockwise;
  return step;
}

// The cut up to the tab, then the jump over it.
void addTab(std::vector<PathStep>& path, double xBis, double xWeiter, double y, int plungeSpeed) {
  path.push_back(line(xBis, y));
  PathStep tab;
  tab.kind = PathStep::Kind::Tab;
  tab.to = {xWeiter, y};
  tab.plungeSpeed = plungeSpeed;
  path.push_back(tab);
}

MmPoint arcEnd(const PathStep& step) {
  const double a = step.endAngle * std::numbers::pi / 180.0;
  return {step.centre.x + step.radius * std::cos(a), step.centre.y + step.radius * std::sin(a)};
}

}  // namespace

std::vector<PathStep> roundedRectanglePath(const RoundedRectangle& s, const std::optional<TabGap>& stege) {
  const double r = s.r;
  std::vector<PathStep> path;
  path.reserve(12);
  if (s.clockwise) {
    path.push_back(line(s.Q4.x, s.Q4.y - r));
    path.push_back(arc(s.Q4.x + r, s.Q4.y - r, r, 180.0, 90.0, true));
    if (stege) addTab(path, stege->xLinks, stege->xRechts, s.Q3.y, 0);
    path.push_back(line(s.Q3.x - r, s.Q3.y));
    path.push_back(arc(s.Q3.x - r, s.Q3.y - r, r, 90.0, 0.0, true));
    path.push_back(line(s.Q2.x, s.Q2.y + r));
    path.push_back(arc(s.Q2.x - r, s.Q2.y + r, r, 0.0, 270.0, true));
    if (stege) addTab(path, stege->xRechts, stege->xLinks, s.Q1.y, 1);
    path.push_back(line(s.Q1.x + r, s.Q1.y));
    path.push_back(arc(s.Q1.x + r, s.Q1.y + r, r, 270.0, 180.0, true));
  } else {
    path.push_back(line(s.Q1.x, s.Q1.y + r));
    path.push_back(arc(s.Q1.x + r, s.Q1.y + r, r, 180.0, 270.0, false));
    if (stege) addTab(path, stege->xLinks, stege->xRechts, s.Q2.y, 1);
    path.push_back(line(s.Q2.x - r, s.Q2.y));
    path.push_back(arc(s.Q2.x - r, s.Q2.y + r, r, 270.0, 0.0, false));
    path.push_back(line(s.Q3.x, s.Q3.y - r));
    path.push_back(arc(s.Q3.x - r, s.Q3.y - r, r, 0.0, 90.0, false));
    if (stege) addTab(path, stege->xRechts, stege->xLinks, s.Q4.y, 1);
    path.push_back(line(s.Q4.x + r, s.Q4.y));
    path.push_back(arc(s.Q4.x + r, s.Q4.y - r, r, 90.0, 180.0, false));
  }
  return path;
}

void millPath(MotionPrimitives& motion, const std::vector<PathStep>& path, double tiefe) {
  for (const PathStep& step : path) {
    switch (step.kind) {
      case PathStep::Kind::Line:
        motion.cncLineTo(1, step.to.x, step.to.y, tiefe);
        break;
      case PathStep::Kind::Arc:
        motion.cncKreisLineTo(step.clockwise ? 1 : 0, step.centre.x, step.centre.y, step.radius, step.startAngle,
                              step.endAngle, tiefe);
        break;
      case PathStep::Kind::Tab:
        motion.cncMoveTo(step.to.x, step.to.y);
        motion.cncLineTo(step.plungeSpeed, step.to.x, step.to.y, tiefe);
        break;
    }
  }
}

void drawPath(platform::Canvas& canvas, const PanelAnsicht& view, const std::vector<PathStep>& path) {
  for (const PathStep& step : path) {
    switch (step.kind) {
      case PathStep::Kind::Line: {
        const platform::Point p = toPixel(view, step.to);
        canvas.lineTo(p.x, p.y);
        break;
      }
      case PathStep::Kind::Arc: {
        const int r = pixelLength(view, step.radius);
        if (r > 0) {
          const platform::Point c = toPixel(view, step.centre);
          DrawBogen(canvas, step.clockwise, c.x, c.y, r, step.startAngle, step.endAngle, canvas.brush().colour,
                    platform::BrushStyle::Clear, canvas.pen().colour, canvas.pen().style);
        } else {
          // A corner too small to show is a sharp corner: the pen goes on from its end.
          const platform::Point p = toPixel(view, arcEnd(step));
          canvas.moveTo(p.x, p.y);
        }
        break;
      }
      case PathStep::Kind::Tab: {
        const platform::Point p = toPixel(view, step.to);
        canvas.moveTo(p.x, p.y);
        break;
      }
    }
  }
}

}  // namespace panel
