// KREIS rows. The circle's lead-in lives in its own parsed record, and the pocket's ring radii are
// computed from their integer number with the count bounded before the first ring, so no cutter
// size can make the ring series endless.
#include "TypeKreis.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "machine/TextConvert.h"
#include "panel/HandleCodes.h"
#include "panel/Keywords.h"
#include "panel/MillingFrame.h"
#include "panel/ObjectDrawing.h"
#include "panel/PanelDrawing.h"
#include "panel/PropertyRows.h"

namespace panel {

namespace {

constexpr std::string_view kKreis = "KREIS";
constexpr double kRingSchrittFaktor = 0.7;  // rings lie 0.7 cutter diameters apart

bool clockwise(const KreisRecord& k) { return isClockwise(k.Fraesrichtung); }
Compensation compensation(const KreisRecord& k) { return compensationOf(k.Radiuskorrektur); }
bool pocket(const KreisRecord& k) { return compensation(k) == Compensation::InnenTasche; }

// With Eintauchen: a quarter arc beside the circle for the compensated circles, a ramp along the
// circle itself for the circle on the cutter centre.
bool arcEntry(const KreisRecord& k) { return k.Eintauchen && compensation(k) != Compensation::Mitte; }
bool rampEntry(const KreisRecord& k) { return k.Eintauchen && compensation(k) == Compensation::Mitte; }

MmPoint leftmost(const KreisRecord& k) { return {k.M.x - k.wirkRadius, k.M.y}; }

bool ringsBounded(double wirkRadius, double durchmesser) {
  const double schritt = kRingSchrittFaktor * durchmesser;
  if (!(schritt > 0.0) || !std::isfinite(schritt)) return false;
  const double rest = wirkRadius - durchmesser / 4.0;
  return std::isfinite(rest) && rest / schritt <= kKreisTascheMaxRinge;
}

// Calls ring(r) for each ring radius: the compensated radius first, then inward while the ring
// stays outside half the cutter radius.
template <class Ring>
void walkRings(const TMainFormState& form, const KreisRecord& k, Ring&& ring) {
  const double schritt = kRingSchrittFaktor * form.Abmessungen.Fraeserdurchmesser;
  const double grenze = 0.5 * form.Abmessungen.Fraeserradius;
  const int limit = k.ringeBegrenzt ? kKreisTascheMaxRinge + 1 : 1;
  for (int i = 0; i < limit; ++i) {
    const double r = k.wirkRadius - i * schritt;
    if (i > 0 && !(r > grenze)) break;
    ring(r);
  }
}

}  // namespace

int Kreis_Neu(TMainFormState& form) {
  const int row = appendObjectRow(form, std::string(kKreis),
                                  {{1, "5.00"},
                                   {2, "5.00"},
                                   {3, "5.00"},
                                   {4, defaultDepthCell(form)},
                                   {8, "nein"},
                                   {9, std::string(kUhrzeigersinn)},
                                   {10, "innen"}});
  Kreis_EigenschaftenAnzeigen(form, row);
  return row;
}

std::optional<KreisRecord> Kreis_Lesen(const TMainFormState& form, const StringGrid& grid, int row) {
  if (trimBlanks(grid.Cells(kZelleTyp, row)) != kKreis) return std::nullopt;
  const double R = form.Abmessungen.Fraeserradius;
  const double D = form.Abmessungen.Fraeserdurchmesser;
  KreisRecord k;
  static_cast<RowBasis&>(k) = readRowBasis(grid, row);
  k.M = {shiftedX(form, cellNumber(grid, 1, row)), shiftedY(form, cellNumber(grid, 2, row))};
  k.radius = cellNumber(grid, 3, row);
  k.tiefe = cutDepth(grid, 4, row);
  k.Eintauchen = machine::Text_ist_wahr(grid.Cells(8, row));
  k.Fraesrichtung = cellOption(grid, 9, row);
  k.Radiuskorrektur = cellOption(grid, 10, row);

  const Compensation c = compensation(k);
  k.wirkRadius = isInside(c) ? k.radius - R : (isOutside(c) ? k.radius + R : k.radius);
  k.box = circleBoxOf(form.Ansicht, k.M, k.radius);
  k.wirkRadiusPx = pixelLength(form.Ansicht, k.wirkRadius);

  // A negative radius has no circle to cut; only a file can hold one, the properties grid
  // corrects it to 0.
  bool gueltig = k.radius >= 0.0;
  if (isInside(c) && k.radius < R) gueltig = false;
  k.ringeBegrenzt = ringsBounded(k.wirkRadius, D);
  if (c == Compensation::InnenTasche && !k.ringeBegrenzt) gueltig = false;
  const MmPoint P = leftmost(k);
  k.eintauchen = EintauchenBerechnen(form.Ansicht, P, k.Radiuskorrektur, k.Fraesrichtung);
  if (k.Eintauchen) {
    // The entry arc must fit inside an inside circle; outside, the circle must be wider than the
    // cutter for the arcs to meet it.
    if (isInside(c)) {
      if (k.eintauchen.C.x > k.M.x) gueltig = false;
    } else if (c != Compensation::Mitte && k.wirkRadius < D) {
      gueltig = false;
    }
  }
  k.gueltig = gueltig;
  return k;
}

void Kreis_ZeichneLeerfahrt(DrawContext& context, const KreisRecord& k) {
  const platform::Point c = k.box.c;
  platform::Point ziel{c.x - k.wirkRadiusPx, c.y};
  if (arcEntry(k)) {
    ziel = k.eintauchen.pA;
  } else if (rampEntry(k)) {
    ziel = {c.x, clockwise(k) ? c.y + k.wirkRadiusPx : c.y - k.wirkRadiusPx};
  }
  drawTravel(context, k.Modus, ziel);
}

void Kreis_ZeichneKontur(DrawContext& context, const KreisRecord& k) {
  platform::Canvas& canvas = context.canvas;
  const platform::Point before = canvas.penPos();
  const platform::Pen pen = outlinePen(context.form.Farben, k.Modus, k.gueltig);
  canvas.setPen(pen);
  clearBrush(canvas);
  DrawKreis(canvas, k.box.c.x, k.box.c.y, k.box.radius, canvas.brush().colour, platform::BrushStyle::Clear, pen.colour,
            pen.style);
  if (k.selektiert) drawCircleHandles(canvas, k.box, context.form.Griffpunkt, kGriffKreisMitte);

  // The next object's travel line starts where this one's cut ends.
  platform::Point ende = arcEntry(k) ? k.eintauchen.pE : platform::Point{k.box.c.x - k.wirkRadiusPx, k.box.c.y};
  if (!isMilled(k.Modus)) ende = before;
  canvas.moveTo(ende.x, ende.y);
}

void Kreis_ZeichneNummer(DrawContext& context, const KreisRecord& k, int row) {
  NummerZeichnen(context, k.box.c.x, k.box.c.y, row);
}

void Kreis_ZeichneFraesweg(DrawContext& context, const KreisRecord& k) {
  if (!isMilled(k.Modus)) return;
  platform::Canvas& canvas = context.canvas;
  const PanelAnsicht& view = context.form.Ansicht;
  const Palette& farben = context.form.Farben;
  const platform::Pen entryPen = toolPathPen(farben, farben.FarbeEintauchen, k.gueltig);
  const platform::Pen pathPen = toolPathPen(farben, farben.FarbeFraesweg, k.gueltig);
  const int cx = k.box.c.x;
  const int cy = k.box.c.y;
  const bool cw = clockwise(k);
  clearBrush(canvas);

  if (arcEntry(k)) {
    canvas.setPen(entryPen);
    EintauchenZeichnen(canvas, view, k.eintauchen, k.Fraesrichtung, k.Radiuskorrektur);
  } else if (rampEntry(k)) {
    canvas.setPen(entryPen);
    RichtungspfeilZeichnen(canvas, cx, cy, k.wirkRadiusPx, cw ? 270.0 : 90.0, cw);
  }

  canvas.setPen(pathPen);
  if (pocket(k)) {
    Kreis_Tasche(context, k);
  } else {
    DrawKreis(canvas, cx, cy, k.wirkRadiusPx, canvas.brush().colour, platform::BrushStyle::Clear, pathPen.colour,
              pathPen.style);
  }
  RichtungspfeilZeichnen(canvas, cx, cy, k.wirkRadiusPx, 180.0, cw);
  if (pocket(k)) return;

  if (arcEntry(k)) {
    canvas.setPen(entryPen);
    AusfahrenZeichnen(canvas, view, k.eintauchen, k.Fraesrichtung, k.Radiuskorrektur);
  } else {
    canvas.moveTo(cx - k.wirkRadiusPx, cy);
  }
}

void Kreis_AusdehnungErweitern(Extent& extent, const KreisRecord& k) {
  const double r = isOutside(compensation(k)) ? k.wirkRadius : k.radius;
  extent.include(k.M.x - r, k.M.y - r, k.M.x + r, k.M.y + r);
}

void Kreis_Tasche(MillContext& context, const KreisRecord& k) {
  MotionPrimitives& motion = context.motion;
  const int richtung = clockwise(k) ? 1 : 0;
  walkRings(context.form, k, [&](double r) {
    motion.cncLineTo(1, k.M.x - r, k.M.y, k.tiefe);
    motion.cncKreisLineTo(richtung, k.M.x, k.M.y, r, 180.0, 180.0, k.tiefe);
  });
}

void Kreis_Tasche(DrawContext& context, const KreisRecord& k) {
  platform::Canvas& canvas = context.canvas;
  walkRings(context.form, k, [&](double r) {
    DrawKreis(canvas, k.box.c.x, k.box.c.y, pixelLength(context.form.Ansicht, r), canvas.brush().colour,
              platform::BrushStyle::Clear, canvas.pen().colour, platform::PenStyle::Dot);
  });
}

void Kreis_Fraesen(MillContext& context, const KreisRecord& k) {
  if (!mayMill(context, k.Modus, k.gueltig)) return;
  MotionPrimitives& motion = context.motion;
  if (arcEntry(k)) {
    EintauchenFraesen(motion, k.eintauchen, k.Fraesrichtung, k.Radiuskorrektur, k.tiefe);
  } else if (rampEntry(k)) {
    RampeEintauchenFraesen(motion, k.M, k.wirkRadius, k.Fraesrichtung, k.Radiuskorrektur, k.tiefe);
  } else {
    const MmPoint P = leftmost(k);
    motion.cncMoveTo(P.x, P.y);
    motion.cncKuehlmittelpumpe(1);
    motion.cncLineTo(0, P.x, P.y, k.tiefe);
  }
  if (pocket(k)) {
    Kreis_Tasche(context, k);
  } else {
    // Equal start and end angles make a full turn.
    motion.cncKreisLineTo(clockwise(k) ? 1 : 0, k.M.x, k.M.y, k.wirkRadius, 180.0, 180.0, k.tiefe);
    if (arcEntry(k)) AusfahrenFraesen(motion, k.eintauchen, k.Fraesrichtung, k.Radiuskorrektur, k.tiefe);
  }
  motion.cncKuehlmittelpumpe(0);
}

bool Kreis_Selektieren(const TMainFormState&, const KreisRecord& k, int x, int y) { return circleBoxHit(k.box, x, y); }

void Kreis_GriffTesten(TMainFormState& form, const KreisRecord& k, int x, int y) {
  circleGriffTesten(form, k.box, k.selektiert, kGriffKreisMitte, x, y);
}

void Kreis_EigenschaftenAnzeigen(TMainFormState& form, int row) {
  PropertyLayout layout;
  layout.caption = "Kreis-Eigenschaften:";
  layout.esgTyp = static_cast<int>(KonturTyp::Kreis);
  layout.labels[1] = "X-Mittelpunkt:";
  layout.labels[2] = "Y-Mittelpunkt:";
  layout.labels[3] = "Radius:";
  layout.labels[4] = "Tiefe:";
  layout.labels[8] = "Eintauchen:";
  layout.labels[9] = "Fräsrichtung:";
  layout.labels[10] = "Radiuskorrektur:";
  showPropertyRows(form, row, layout);
}

void Kreis_EigenschaftenUebernehmen(TMainFormState& form, int row) { takeNumericPropertyRows(form, row, 4, 3, 4); }

}  // namespace panel
