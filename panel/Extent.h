// The extent of drawn objects in millimetres.
//
// Thread context: plain value; no blocking.
#pragma once

#include <algorithm>

namespace panel {

struct Extent {
  double xMin = 0.0;
  double yMin = 0.0;
  double xMax = 0.0;
  double yMax = 0.0;

  // Grows the extent to include the box from (x1, y1) to (x2, y2), corners in any order.
  void include(double x1, double y1, double x2, double y2) {
    xMin = std::min({xMin, x1, x2});
    yMin = std::min({yMin, y1, y2});
    xMax = std::max({xMax, x1, x2});
    yMax = std::max({yMax, y1, y2});
  }
};

}  // namespace panel
