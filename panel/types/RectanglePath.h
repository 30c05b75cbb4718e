// The path of a rounded rectangle that the rectangle contour and the pocket rings share: from
// the middle of the left edge round the four corners in either direction, optionally with a
// holding tab in the middle of the top and the bottom edge. The start point itself is not part
// of the path; callers line back to it.
//
// Thread context: pure path building (any thread); drawing on the given canvas (GUI thread for
// a redraw); milling on the thread that runs the job, blocking while the machine moves and
// letting failure codes through.
#pragma once

#include <optional>
#include <vector>

#include "panel/Geometry.h"
#include "panel/Motion.h"
#include "panel/PanelView.h"
#include "platform/Canvas.h"

namespace panel {

struct PathStep {
  enum class Kind { Line, Arc, Tab };
  Kind kind = Kind::Line;
  MmPoint to;               // Line: the end; Tab: where the cutter plunges again
  MmPoint centre;           // Arc
  double radius = 0.0;      // Arc
  double startAngle = 0.0;  // Arc, degrees counter-clockwise from +x
  double endAngle = 0.0;
  bool clockwise = false;  // Arc
  int plungeSpeed = 1;     // Tab: speed index of the plunge after the lift
};

// Corners Q1 lower left, Q2 lower right, Q3 upper right, Q4 upper left, corner radius r.
struct RoundedRectangle {
  MmPoint Q1, Q2, Q3, Q4;
  double r = 0.0;
  bool clockwise = true;
};

// The material left standing between the cutter positions xLinks and xRechts on the top and the
// bottom edge.
struct TabGap {
  double xLinks = 0.0;
  double xRechts = 0.0;
};

std::vector<PathStep> roundedRectanglePath(const RoundedRectangle& shape, const std::optional<TabGap>& stege);

// Lines at speed index 1 and arcs at the depth; a tab lifts, travels over it and plunges again.
void millPath(MotionPrimitives& motion, const std::vector<PathStep>& path, double tiefe);

// Lines and arcs from the pen position in the current pen; tabs are left out.
void drawPath(platform::Canvas& canvas, const PanelAnsicht& view, const std::vector<PathStep>& path);

}  // namespace panel
