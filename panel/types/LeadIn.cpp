// Lead-in geometry, drawing and milling. Arc segments are counted with an integer and each
// angle computed from it, so no rounding of summed steps can add or drop a segment.
#include "LeadIn.h"

#include <optional>

#include "panel/DrawHelpers.h"

namespace panel {

namespace {

// Angles (degrees, counter-clockwise from +x around C) of one case of the entry and exit arcs.
struct Arcs {
  double entryStart;
  double entryEnd;
  double exitStart;
  double exitEnd;
  bool entryClockwise;
  bool exitClockwise;
  double entryArrow;
  double exitArrow;
};

std::optional<Arcs> arcsFor(std::string_view fraesrichtung, std::string_view radiuskorrektur) {
  const Compensation c = compensationOf(radiuskorrektur);
  if (c == Compensation::Mitte) return std::nullopt;
  const bool inside = isInside(c);
  if (isClockwise(fraesrichtung)) {
    if (inside) return Arcs{270.0, 180.0, 180.0, 90.0, true, true, 260.0, 135.0};
    return Arcs{270.0, 360.0, 0.0, 90.0, false, false, 280.0, 45.0};
  }
  if (inside) return Arcs{90.0, 180.0, 180.0, 270.0, false, false, 100.0, 215.0};
  return Arcs{90.0, 0.0, 360.0, 270.0, true, true, 80.0, 315.0};
}

void millArc(MotionPrimitives& motion, MmPoint centre, double start, bool clockwise, double tiefe) {
  const double step = clockwise ? -kEintauchSchritt : kEintauchSchritt;
  for (int i = 0; i < kEintauchSegmente; ++i) {
    const double s = start + i * step;
    motion.cncKreisLineTo(clockwise ? 1 : 0, centre.x, centre.y, kEintauchRadius, s, s + step, tiefe);
  }
}

void drawArc(platform::Canvas& canvas, const PanelAnsicht& view, const LeadIn& leadIn, double start, double end,
             bool clockwise, double arrow) {
  const int r = pixelLength(view, kEintauchRadius);
  DrawBogen(canvas, clockwise, leadIn.pC.x, leadIn.pC.y, r, start, end, canvas.brush().colour,
            platform::BrushStyle::Clear, canvas.pen().colour, platform::PenStyle::Dot);
  RichtungspfeilZeichnen(canvas, leadIn.pC.x, leadIn.pC.y, r, arrow, clockwise);
}

}  // namespace

LeadIn EintauchenBerechnen(const PanelAnsicht& view, MmPoint P, std::string_view radiuskorrektur,
                           std::string_view fraesrichtung) {
  LeadIn leadIn{P, P, P, P, {}, {}, {}, {}};
  const Compensation c = compensationOf(radiuskorrektur);
  if (c != Compensation::Mitte) {
    const double R = kEintauchRadius;
    leadIn.C = {isInside(c) ? P.x + R : P.x - R, P.y};
    const MmPoint below{leadIn.C.x, leadIn.C.y - R};
    const MmPoint above{leadIn.C.x, leadIn.C.y + R};
    const bool clockwise = isClockwise(fraesrichtung);
    leadIn.A = clockwise ? below : above;
    leadIn.E = clockwise ? above : below;
  }
  leadIn.pP = toPixel(view, leadIn.P);
  leadIn.pC = toPixel(view, leadIn.C);
  leadIn.pA = toPixel(view, leadIn.A);
  leadIn.pE = toPixel(view, leadIn.E);
  return leadIn;
}

void EintauchenZeichnen(platform::Canvas& canvas, const PanelAnsicht& view, const LeadIn& leadIn,
                        std::string_view fraesrichtung, std::string_view radiuskorrektur) {
  const std::optional<Arcs> arcs = arcsFor(fraesrichtung, radiuskorrektur);
  if (!arcs) return;
  canvas.moveTo(leadIn.pA.x, leadIn.pA.y);
  drawArc(canvas, view, leadIn, arcs->entryStart, arcs->entryEnd, arcs->entryClockwise, arcs->entryArrow);
}

void AusfahrenZeichnen(platform::Canvas& canvas, const PanelAnsicht& view, const LeadIn& leadIn,
                       std::string_view fraesrichtung, std::string_view radiuskorrektur) {
  const std::optional<Arcs> arcs = arcsFor(fraesrichtung, radiuskorrektur);
  if (!arcs) return;
  drawArc(canvas, view, leadIn, arcs->exitStart, arcs->exitEnd, arcs->exitClockwise, arcs->exitArrow);
}

void EintauchenFraesen(MotionPrimitives& motion, const LeadIn& leadIn, std::string_view fraesrichtung,
                       std::string_view radiuskorrektur, double tiefe) {
  const std::optional<Arcs> arcs = arcsFor(fraesrichtung, radiuskorrektur);
  if (!arcs) return;
  motion.cncMoveTo(leadIn.A.x, leadIn.A.y);
  motion.cncKuehlmittelpumpe(1);
  motion.cncLineTo(0, leadIn.A.x, leadIn.A.y, tiefe);
  millArc(motion, leadIn.C, arcs->entryStart, arcs->entryClockwise, tiefe);
}

void AusfahrenFraesen(MotionPrimitives& motion, const LeadIn& leadIn, std::string_view fraesrichtung,
                      std::string_view radiuskorrektur, double tiefe) {
  const std::optional<Arcs> arcs = arcsFor(fraesrichtung, radiuskorrektur);
  if (!arcs) return;
  millArc(motion, leadIn.C, arcs->exitStart, arcs->exitClockwise, tiefe);
}

void EckeEintauchenFraesen(MotionPrimitives& motion, const LeftEdge& kante, std::string_view fraesrichtung,
                           std::string_view radiuskorrektur, double tiefe) {
  if (compensationOf(radiuskorrektur) != Compensation::Mitte) return;
  const double y = isClockwise(fraesrichtung) ? kante.yUnten + kante.Eckradius : kante.yOben - kante.Eckradius;
  motion.cncMoveTo(kante.x, y);
  motion.cncKuehlmittelpumpe(1);
  motion.cncLineTo(0, kante.x, kante.yMitte, tiefe);
}

void RampeEintauchenFraesen(MotionPrimitives& motion, MmPoint mitte, double radius, std::string_view fraesrichtung,
                            std::string_view radiuskorrektur, double tiefe) {
  if (compensationOf(radiuskorrektur) != Compensation::Mitte) return;
  const bool clockwise = isClockwise(fraesrichtung);
  // Counter-clockwise from the top of the circle, clockwise from its bottom, both towards the
  // leftmost point; each segment 5 % of the depth deeper than the one before.
  const double start = clockwise ? 270.0 : 90.0;
  const double step = clockwise ? -kEintauchSchritt : kEintauchSchritt;
  const double dz = tiefe * 0.05;
  motion.cncMoveTo(mitte.x, clockwise ? mitte.y - radius : mitte.y + radius);
  motion.cncKuehlmittelpumpe(1);
  for (int i = 0; i < kEintauchSegmente; ++i) {
    const double a = start + i * step;
    motion.cncKreisLineTo(clockwise ? 1 : 0, mitte.x, mitte.y, radius, a, a + step, i * dz);
  }
}

}  // namespace panel
