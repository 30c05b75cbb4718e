// Pockets of rectangles with "innen-tasche": concentric rounded-rectangle rings from the
// compensated contour inward, each run whole at the full depth, and the single ring.
//
// Thread context: drawing on the GUI thread (a redraw); milling on the thread that runs the job,
// blocking while the machine moves and letting failure codes through. The ring is a value.
#pragma once

#include <string>

#include "panel/DrawContext.h"
#include "panel/Geometry.h"
#include "panel/MillContext.h"
#include "panel/types/TypeRechteck.h"

namespace panel {

// A pocket that needs more rings than this is taken for a typing error and not milled.
inline constexpr int kTascheMaxRinge = 100000;

struct RechteckBahn {
  double tiefe = 0.0;
  double r = 0.0;  // corner radius; never grows from ring to ring
  std::string Fraesrichtung;
  std::string Modus;
  MmPoint C;  // centre of the rectangle
  double w = 0.0;
  double h = 0.0;
  MmPoint Q1, Q2, Q3, Q4;       // from lower left counter-clockwise
  bool gueltig = false;         // w >= 0, h >= 0 and h / 2 >= r
  bool rechteckGueltig = true;  // the rectangle itself can be milled
};

// Whether the ring series of the rectangle ends within kTascheMaxRinge rings with the given
// cutter: never for a cutter diameter of zero or below.
bool pocketRingsBounded(const RechteckRecord& rechteck, double fraeserdurchmesser);

// Corners and validity of the ring from its centre, size and radius.
void RechteckBahn_Berechnen(RechteckBahn& bahn);
// Mode "ja" only: a dotted line from the pen to the ring's start, then the ring back to it.
void RechteckBahn_Zeichnen(DrawContext& context, const RechteckBahn& bahn);
// Mode "ja" only: a ring that is not valid sounds the error signal and is skipped; otherwise a
// cut at the depth to the ring's start, the ring, and back to its start.
void RechteckBahn_Fraesen(MillContext& context, const RechteckBahn& bahn);

// The ring series of a parsed rectangle, milled or drawn (the drawing only when tool paths are
// shown). The series of a rectangle whose rings would not end draws its first ring only.
void Rechteck_Tasche(MillContext& context, const RechteckRecord& rechteck);
void Rechteck_Tasche(DrawContext& context, const RechteckRecord& rechteck);

}  // namespace panel
