// An x/y shift in millimetres that the row parsers add to every position they read.
//
// Thread context: plain value; no blocking.
#pragma once

namespace panel {

struct Shift {
  double x = 0.0;
  double y = 0.0;
};

}  // namespace panel
