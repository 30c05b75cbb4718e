// Pocket rings. Each ring's size is computed from its integer number rather than by repeated
// subtraction, and the count is bounded before the first ring, so a pocket can never make the
// series endless.
#include "RectanglePocket.h"

#include <algorithm>
#include <cmath>

#include "panel/ObjectDrawing.h"
#include "panel/RowCells.h"
#include "panel/types/RectanglePath.h"

namespace panel {

namespace {

constexpr double kRingSchrittFaktor = 0.7;  // each side moves inward by 0.35 cutter diameters

RoundedRectangle ringShape(const RechteckBahn& bahn) {
  return RoundedRectangle{bahn.Q1, bahn.Q2, bahn.Q3, bahn.Q4, bahn.r, isClockwise(bahn.Fraesrichtung)};
}

MmPoint ringStart(const RechteckBahn& bahn) { return {bahn.Q1.x, bahn.C.y}; }

template <class Ring>
void walkRings(const TMainFormState& form, const RechteckRecord& rechteck, Ring&& ring) {
  const double durchmesser = form.Abmessungen.Fraeserdurchmesser;
  const double halbRadius = form.Abmessungen.Fraeserradius / 2.0;
  const double schritt = kRingSchrittFaktor * durchmesser;
  const int limit = pocketRingsBounded(rechteck, durchmesser) ? kTascheMaxRinge + 1 : 1;

  RechteckBahn bahn;
  bahn.tiefe = rechteck.tiefe;
  bahn.r = rechteck.r;
  bahn.Fraesrichtung = rechteck.Fraesrichtung;
  bahn.Modus = rechteck.Modus;
  bahn.C = rechteck.C;
  bahn.rechteckGueltig = rechteck.gueltig;
  for (int k = 0; k < limit; ++k) {
    bahn.w = rechteck.wc - k * schritt;
    bahn.h = rechteck.hc - k * schritt;
    // The first ring is the compensated contour and always runs.
    if (k > 0 && (halbRadius >= bahn.w || halbRadius >= bahn.h)) break;
    if (2.0 * bahn.r > bahn.w) bahn.r = bahn.w / 2.0;
    if (2.0 * bahn.r > bahn.h) bahn.r = bahn.h / 2.0;
    RechteckBahn_Berechnen(bahn);
    ring(bahn);
  }
}

}  // namespace

bool pocketRingsBounded(const RechteckRecord& rechteck, double fraeserdurchmesser) {
  const double schritt = kRingSchrittFaktor * fraeserdurchmesser;
  if (!(schritt > 0.0) || !std::isfinite(schritt)) return false;
  const double rest = std::min(rechteck.wc, rechteck.hc) - fraeserdurchmesser / 4.0;
  return std::isfinite(rest) && rest / schritt <= kTascheMaxRinge;
}

void RechteckBahn_Berechnen(RechteckBahn& bahn) {
  const MmPoint c = bahn.C;
  bahn.Q1 = {c.x - bahn.w / 2.0, c.y - bahn.h / 2.0};
  bahn.Q2 = {c.x + bahn.w / 2.0, c.y - bahn.h / 2.0};
  bahn.Q3 = {c.x + bahn.w / 2.0, c.y + bahn.h / 2.0};
  bahn.Q4 = {c.x - bahn.w / 2.0, c.y + bahn.h / 2.0};
  bahn.gueltig = bahn.w >= 0.0 && bahn.h >= 0.0 && bahn.h / 2.0 >= bahn.r;
}

void RechteckBahn_Zeichnen(DrawContext& context, const RechteckBahn& bahn) {
  if (!isMilled(bahn.Modus)) return;
  platform::Canvas& canvas = context.canvas;
  const Palette& farben = context.form.Farben;
  const bool gueltig = bahn.gueltig && bahn.rechteckGueltig;
  canvas.setPen(dottedPen(gueltig ? farben.FarbeFraesweg : farben.FarbeUngueltig));
  clearBrush(canvas);
  const platform::Point start = toPixel(context.form.Ansicht, ringStart(bahn));
  canvas.lineTo(start.x, start.y);
  drawPath(canvas, context.form.Ansicht, roundedRectanglePath(ringShape(bahn), std::nullopt));
  canvas.lineTo(start.x, start.y);
}

void RechteckBahn_Fraesen(MillContext& context, const RechteckBahn& bahn) {
  if (!isMilled(bahn.Modus)) return;
  if (!bahn.gueltig) {
    if (context.FehlerSignal) context.FehlerSignal();
    return;
  }
  const MmPoint start = ringStart(bahn);
  context.motion.cncLineTo(1, start.x, start.y, bahn.tiefe);
  millPath(context.motion, roundedRectanglePath(ringShape(bahn), std::nullopt), bahn.tiefe);
  context.motion.cncLineTo(1, start.x, start.y, bahn.tiefe);
}

void Rechteck_Tasche(MillContext& context, const RechteckRecord& rechteck) {
  walkRings(context.form, rechteck, [&](const RechteckBahn& bahn) { RechteckBahn_Fraesen(context, bahn); });
}

void Rechteck_Tasche(DrawContext& context, const RechteckRecord& rechteck) {
  if (!context.form.DrawFraeswege) return;
  walkRings(context.form, rechteck, [&](const RechteckBahn& bahn) { RechteckBahn_Zeichnen(context, bahn); });
}

}  // namespace panel
