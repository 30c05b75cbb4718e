// The extent of drawn objects in millimetres.
//
// Thread context: plain value; no blocking.
#pragma once

namespace panel {

struct Extent {
  double xMin = 0.0;
  double yMin = 0.0;
  double xMax = 0.0;
  double yMax = 0.0;
};

}  // namespace panel
