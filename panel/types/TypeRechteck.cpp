// Rectangles: the three ways of giving the corners, and the core that compensates, validates,
// draws and mills them. A rectangle keeps its lead-in in its own parsed record, so drawing and
// milling of one rectangle never see another's entry.
#include "TypeRechteck.h"

#include <algorithm>
#include <string>

#include "machine/TextConvert.h"
#include "panel/HandleCodes.h"
#include "panel/Keywords.h"
#include "panel/MillingFrame.h"
#include "panel/ObjectDrawing.h"
#include "panel/PanelDrawing.h"
#include "panel/PropertyRows.h"
#include "panel/types/RectanglePath.h"
#include "panel/types/RectanglePocket.h"

namespace panel {

namespace {

constexpr std::string_view kRechteck1 = "RECHTECK1";
constexpr std::string_view kRechteck2 = "RECHTECK2";
constexpr std::string_view kRechteck3 = "RECHTECK3";

// A new row with the variant's cells 1-4 and the defaults all three share.
int appendRectangle(TMainFormState& form, std::string_view keyword, const char* c1, const char* c2, const char* c3,
                    const char* c4) {
  return appendObjectRow(form, std::string(keyword),
                         {{1, c1},
                          {2, c2},
                          {3, c3},
                          {4, c4},
                          {5, defaultDepthCell(form)},
                          {6, "0.00"},
                          {8, "nein"},
                          {9, std::string(kUhrzeigersinn)},
                          {10, "innen"}});
}

void showRectangle(TMainFormState& form, int row, KonturTyp typ, const char* l1, const char* l2, const char* l3,
                   const char* l4) {
  PropertyLayout layout;
  layout.caption = "Rechteck/Quadrat-Eigenschaften:";
  layout.esgTyp = static_cast<int>(typ);
  layout.labels[1] = l1;
  layout.labels[2] = l2;
  layout.labels[3] = l3;
  layout.labels[4] = l4;
  layout.labels[5] = "Tiefe:";
  layout.labels[6] = "Eckradius:";
  layout.labels[8] = "Eintauchen:";
  layout.labels[9] = "Fräsrichtung:";
  layout.labels[10] = "Radiuskorrektur:";
  showPropertyRows(form, row, layout);
}

// Parses the cells every variant shares and the corners that `corners` makes of cells 1-4.
template <class Corners>
std::optional<RechteckRecord> readRectangle(const TMainFormState& form, const StringGrid& grid, int row,
                                            std::string_view keyword, Corners&& corners) {
  if (trimBlanks(grid.Cells(kZelleTyp, row)) != keyword) return std::nullopt;
  RechteckRecord rechteck;
  static_cast<RowBasis&>(rechteck) = readRowBasis(grid, row);
  corners(rechteck, cellNumber(grid, 1, row), cellNumber(grid, 2, row), cellNumber(grid, 3, row),
          cellNumber(grid, 4, row));
  rechteck.tiefe = cutDepth(grid, 5, row);
  rechteck.Eckradius = cellNumber(grid, 6, row);
  rechteck.Eintauchen = machine::Text_ist_wahr(grid.Cells(8, row));
  rechteck.Fraesrichtung = cellOption(grid, 9, row);
  rechteck.Radiuskorrektur = cellOption(grid, 10, row);
  Rechteck_Berechnen(form, rechteck);
  return rechteck;
}

void setCorners(RechteckRecord& r, double xl, double yu, double xr, double yo) {
  r.P1 = {xl, yu};
  r.P2 = {xr, yu};
  r.P3 = {xr, yo};
  r.P4 = {xl, yo};
}

MmPoint shifted(const TMainFormState& form, MmPoint p) { return {shiftedX(form, p.x), shiftedY(form, p.y)}; }

bool clockwise(const RechteckRecord& r) { return isClockwise(r.Fraesrichtung); }
Compensation compensation(const RechteckRecord& r) { return compensationOf(r.Radiuskorrektur); }

// With Eintauchen: an arc beside the contour for the compensated contours, the ramp along the
// left edge for the contour on the cutter centre.
bool arcEntry(const RechteckRecord& r) { return r.Eintauchen && compensation(r) != Compensation::Mitte; }
bool rampEntry(const RechteckRecord& r) { return r.Eintauchen && compensation(r) == Compensation::Mitte; }

// Where the ramp of a "mitte" rectangle starts: the end of the left edge's straight part.
MmPoint rampStart(const RechteckRecord& r) {
  return clockwise(r) ? MmPoint{r.P1c.x, r.P1c.y + r.r} : MmPoint{r.P4c.x, r.P4c.y - r.r};
}

std::vector<PathStep> contourPath(const TMainFormState& form, const RechteckRecord& r) {
  std::optional<TabGap> stege;
  if (r.stege) {
    const double d = form.Abmessungen.Fraeserdurchmesser;
    stege = TabGap{r.C.x - d, r.C.x + d};
  }
  return roundedRectanglePath(RoundedRectangle{r.P1c, r.P2c, r.P3c, r.P4c, r.r, clockwise(r)}, stege);
}

void arcPixels(platform::Canvas& canvas, int cx, int cy, int r, double start, double end) {
  if (r <= 0) return;
  const platform::Pen pen = canvas.pen();
  DrawBogen(canvas, false, cx, cy, r, start, end, canvas.brush().colour, platform::BrushStyle::Clear, pen.colour,
            pen.style);
}

}  // namespace

int Rechteck1_Neu(TMainFormState& form) {
  const int row = appendRectangle(form, kRechteck1, "0.00", "0.00", "10.00", "5.00");
  Rechteck1_EigenschaftenAnzeigen(form, row);
  return row;
}

int Rechteck2_Neu(TMainFormState& form) {
  const int row = appendRectangle(form, kRechteck2, "5.00", "2.50", "10.00", "5.00");
  Rechteck2_EigenschaftenAnzeigen(form, row);
  return row;
}

int Rechteck3_Neu(TMainFormState& form) {
  const int row = appendRectangle(form, kRechteck3, "0.00", "0.00", "10.00", "5.00");
  Rechteck3_EigenschaftenAnzeigen(form, row);
  return row;
}

std::optional<RechteckRecord> Rechteck1_Lesen(const TMainFormState& form, const StringGrid& grid, int row) {
  return readRectangle(form, grid, row, kRechteck1, [](RechteckRecord& r, double x1, double y1, double x2, double y2) {
    setCorners(r, x1, y1, x2, y2);
  });
}

std::optional<RechteckRecord> Rechteck2_Lesen(const TMainFormState& form, const StringGrid& grid, int row) {
  return readRectangle(form, grid, row, kRechteck2, [](RechteckRecord& r, double cx, double cy, double b, double h) {
    setCorners(r, cx - b / 2.0, cy - h / 2.0, cx + b / 2.0, cy + h / 2.0);
  });
}

std::optional<RechteckRecord> Rechteck3_Lesen(const TMainFormState& form, const StringGrid& grid, int row) {
  return readRectangle(form, grid, row, kRechteck3, [](RechteckRecord& r, double x, double y, double b, double h) {
    setCorners(r, x, y, x + b, y + h);
  });
}

void Rechteck1_EigenschaftenAnzeigen(TMainFormState& form, int row) {
  showRectangle(form, row, KonturTyp::Rechteck1, "X-linke Ecke:", "Y-linke Ecke:", "X-rechte Ecke:", "Y-rechte Ecke:");
}

void Rechteck2_EigenschaftenAnzeigen(TMainFormState& form, int row) {
  showRectangle(form, row, KonturTyp::Rechteck2, "X-Mittelpunkt:", "Y-Mittelpunkt:", "Breite:", "Höhe:");
}

void Rechteck3_EigenschaftenAnzeigen(TMainFormState& form, int row) {
  showRectangle(form, row, KonturTyp::Rechteck3, "X-linke Ecke:", "Y-linke Ecke:", "Breite:", "Höhe:");
}

void Rechteck_Berechnen(const TMainFormState& form, RechteckRecord& r) {
  const double R = form.Abmessungen.Fraeserradius;
  const double D = form.Abmessungen.Fraeserdurchmesser;
  r.P1 = shifted(form, r.P1);
  r.P2 = shifted(form, r.P2);
  r.P3 = shifted(form, r.P3);
  r.P4 = shifted(form, r.P4);
  r.w = r.P2.x - r.P1.x;
  r.h = r.P4.y - r.P1.y;
  r.C = {r.P1.x + r.w / 2.0, r.P1.y + r.h / 2.0};

  const Compensation c = compensation(r);
  r.o = isInside(c) ? -R : (isOutside(c) ? R : 0.0);
  r.r = r.Eckradius != 0.0 ? r.Eckradius + r.o : 0.0;
  r.P1c = {r.P1.x - r.o, r.P1.y - r.o};
  r.P2c = {r.P2.x + r.o, r.P2.y - r.o};
  r.P3c = {r.P3.x + r.o, r.P3.y + r.o};
  r.P4c = {r.P4.x - r.o, r.P4.y + r.o};
  r.wc = r.P2c.x - r.P1c.x;
  r.hc = r.P4c.y - r.P1c.y;
  r.S = {r.P1c.x, r.C.y};

  // Only the height is compared with the corner radius here; the width only for "innen".
  bool gueltig = r.w >= 0.0 && r.h >= 0.0 && r.hc / 2.0 >= r.r;
  // A negative corner radius would turn the corner arcs inside out.
  if (r.Eckradius < 0.0) gueltig = false;
  if (isInside(c)) {
    if (r.wc < 0.0 || r.hc < 0.0 || 2.0 * r.r > r.wc || 2.0 * r.r > r.hc || (r.Eckradius != 0.0 && r.Eckradius < R))
      gueltig = false;
  }
  r.stege = c == Compensation::AussenSteg;
  if (r.stege && 4.0 * D > r.wc) gueltig = false;
  // The tabs stand between C.x - D and C.x + D on the straight part of the top and bottom edge. A
  // corner radius reaching into that stretch would turn the path back on itself and shrink each
  // tab to a sliver, so the part would come loose. (The side edges carry no tabs; their radius is
  // bounded by the height test above.)
  if (r.stege && r.r > r.wc / 2.0 - D) gueltig = false;
  // A pocket whose rings would never end (no cutter, or absurdly many rings) cannot be milled.
  if (c == Compensation::InnenTasche && !pocketRingsBounded(r, D)) gueltig = false;

  const PanelAnsicht& view = form.Ansicht;
  r.pP1 = toPixel(view, r.P1);
  r.pP2 = toPixel(view, r.P2);
  r.pP3 = toPixel(view, r.P3);
  r.pP4 = toPixel(view, r.P4);
  r.pC = toPixel(view, r.C);
  r.pP1c = toPixel(view, r.P1c);
  r.pP4c = toPixel(view, r.P4c);
  r.pS = toPixel(view, r.S);

  if (r.Eintauchen) {
    r.eintauchen = EintauchenBerechnen(view, r.S, r.Radiuskorrektur, r.Fraesrichtung);
    if (isInside(c)) {
      const LeadIn& e = r.eintauchen;
      if (!(e.C.x <= r.P2c.x && r.P1c.y <= e.A.y && e.A.y <= r.P4c.y)) gueltig = false;
    } else if (c == Compensation::Mitte) {
      if (3.0 * D > r.hc) gueltig = false;
    }
  } else {
    r.eintauchen = LeadIn{r.S, r.S, r.S, r.S, r.pS, r.pS, r.pS, r.pS};
  }
  r.gueltig = gueltig;
}

void Rechteck_ZeichneLeerfahrt(DrawContext& context, const RechteckRecord& r) {
  platform::Point ziel = r.pS;
  if (arcEntry(r)) {
    ziel = r.eintauchen.pA;
  } else if (rampEntry(r)) {
    ziel = toPixel(context.form.Ansicht, rampStart(r));
  }
  drawTravel(context, r.Modus, ziel);
}

void Rechteck_ZeichneKontur(DrawContext& context, const RechteckRecord& r) {
  platform::Canvas& canvas = context.canvas;
  const platform::Point before = canvas.penPos();
  canvas.setPen(outlinePen(context.form.Farben, r.Modus, r.gueltig));
  clearBrush(canvas);

  // The nominal outline with the corner radius as typed, counter-clockwise from the left edge.
  const int e = std::max(0, pixelLength(context.form.Ansicht, r.Eckradius));
  const platform::Point p1 = r.pP1;
  const platform::Point p2 = r.pP2;
  const platform::Point p3 = r.pP3;
  const platform::Point p4 = r.pP4;
  canvas.moveTo(p1.x, p1.y - e);
  arcPixels(canvas, p1.x + e, p1.y - e, e, 180.0, 270.0);
  canvas.lineTo(p2.x - e, p2.y);
  arcPixels(canvas, p2.x - e, p2.y - e, e, 270.0, 360.0);
  canvas.lineTo(p3.x, p3.y + e);
  arcPixels(canvas, p3.x - e, p3.y + e, e, 0.0, 90.0);
  canvas.lineTo(p4.x + e, p4.y);
  arcPixels(canvas, p4.x + e, p4.y + e, e, 90.0, 180.0);
  canvas.lineTo(p1.x, p1.y - e);

  if (r.selektiert) {
    const platform::Point c = r.pC;
    drawHandles(canvas, {{p1.x - 15, p1.y + 15},
                         {p2.x + 15, p2.y + 15},
                         {p3.x + 15, p3.y - 15},
                         {p4.x - 15, p4.y - 15},
                         {p1.x - 15, c.y},
                         {p2.x + 15, c.y},
                         {c.x, p1.y + 15},
                         {c.x, p3.y - 15}});
    switch (context.form.Griffpunkt) {
      case kGriffRechteckLinks:
        AktivGriffZeichnen(canvas, p1.x, p1.y);
        break;
      case kGriffRechteckMitte:
        AktivGriffZeichnen(canvas, c.x, c.y);
        break;
      case kGriffRechteckRechts:
        AktivGriffZeichnen(canvas, p3.x, p3.y);
        break;
      default:
        break;
    }
  }

  // The next object's travel line starts where this one's cut ends.
  const platform::Point ende = !isMilled(r.Modus) ? before : (arcEntry(r) ? r.eintauchen.pE : r.pS);
  canvas.moveTo(ende.x, ende.y);
}

void Rechteck_ZeichneNummer(DrawContext& context, const RechteckRecord& r, int row) {
  NummerZeichnen(context, r.pC.x, r.pC.y, row);
}

void Rechteck_ZeichneFraesweg(DrawContext& context, const RechteckRecord& r) {
  if (!isMilled(r.Modus)) return;
  platform::Canvas& canvas = context.canvas;
  const PanelAnsicht& view = context.form.Ansicht;
  const Palette& farben = context.form.Farben;
  const platform::Pen entryPen = dottedPen(r.gueltig ? farben.FarbeEintauchen : farben.FarbeUngueltig);
  const platform::Pen pathPen = dottedPen(r.gueltig ? farben.FarbeFraesweg : farben.FarbeUngueltig);
  clearBrush(canvas);

  canvas.setPen(entryPen);
  if (arcEntry(r)) {
    EintauchenZeichnen(canvas, view, r.eintauchen, r.Fraesrichtung, r.Radiuskorrektur);
  } else if (rampEntry(r)) {
    const platform::Point a = toPixel(view, rampStart(r));
    canvas.moveTo(a.x, a.y);
    canvas.lineTo(r.pS.x, r.pS.y);
    PfeilspitzeZeichnen(canvas, a.x, a.y, r.pS.x, r.pS.y);
  } else {
    canvas.moveTo(r.pS.x, r.pS.y);
  }

  const Compensation c = compensation(r);
  canvas.setPen(pathPen);
  if (c == Compensation::InnenTasche) {
    Rechteck_Tasche(context, r);
  } else {
    drawPath(canvas, view, contourPath(context.form, r));
    canvas.lineTo(r.pS.x, r.pS.y);
  }
  canvas.setPen(pathPen);
  const platform::Point richtung = clockwise(r) ? r.pP4c : r.pP1c;
  PfeilspitzeZeichnen(canvas, r.pS.x, r.pS.y, richtung.x, richtung.y);

  if (c == Compensation::InnenTasche) return;
  if (arcEntry(r)) {
    canvas.setPen(entryPen);
    AusfahrenZeichnen(canvas, view, r.eintauchen, r.Fraesrichtung, r.Radiuskorrektur);
  } else {
    canvas.moveTo(r.pS.x, r.pS.y);
  }
}

void Rechteck_AusdehnungErweitern(Extent& extent, const RechteckRecord& r) {
  const bool aussen = isOutside(compensation(r));
  const MmPoint& unten = aussen ? r.P1c : r.P1;
  const MmPoint& oben = aussen ? r.P3c : r.P3;
  extent.xMin = std::min(extent.xMin, unten.x);
  extent.yMin = std::min(extent.yMin, unten.y);
  extent.xMax = std::max(extent.xMax, oben.x);
  extent.yMax = std::max(extent.yMax, oben.y);
}

void Rechteck_Fraesen(MillContext& context, const RechteckRecord& r) {
  if (!mayMill(context, r.Modus, r.gueltig)) return;
  MotionPrimitives& motion = context.motion;
  const Compensation c = compensation(r);
  if (rampEntry(r)) {
    EckeEintauchenFraesen(motion, LeftEdge{r.P1c.x, r.P1c.y, r.P4c.y, r.C.y, r.Eckradius}, r.Fraesrichtung,
                          r.Radiuskorrektur, r.tiefe);
  } else if (arcEntry(r)) {
    EintauchenFraesen(motion, r.eintauchen, r.Fraesrichtung, r.Radiuskorrektur, r.tiefe);
  } else {
    motion.cncMoveTo(r.S.x, r.S.y);
    motion.cncKuehlmittelpumpe(1);
    motion.cncLineTo(0, r.S.x, r.S.y, r.tiefe);
  }
  if (c == Compensation::InnenTasche) {
    Rechteck_Tasche(context, r);
  } else {
    millPath(motion, contourPath(context.form, r), r.tiefe);
  }
  motion.cncLineTo(1, r.S.x, r.S.y, r.tiefe);
  if (arcEntry(r) && c != Compensation::InnenTasche) {
    AusfahrenFraesen(motion, r.eintauchen, r.Fraesrichtung, r.Radiuskorrektur, r.tiefe);
  }
  motion.cncKuehlmittelpumpe(0);
}

bool Rechteck_Selektieren(const TMainFormState&, const RechteckRecord& r, int x, int y) {
  return r.pP1.x <= x && x <= r.pP3.x && r.pP3.y <= y && y <= r.pP1.y;
}

void Rechteck_GriffTesten(TMainFormState& form, const RechteckRecord& r, int x, int y) {
  if (!r.selektiert) return;
  // Both middle bands are a quarter of the rectangle's pixel width wide on each side.
  const int q = (r.pP2.x - r.pP1.x) / 4;
  const int cx = r.pC.x;
  const int cy = r.pC.y;
  if (cy - q < y && y < cy + q) {
    if (cx - q < x && x < cx + q) {
      form.Griffpunkt = kGriffRechteckMitte;
    } else if (r.pP1.x - 15 < x && x < cx - q) {
      form.Griffpunkt = kGriffRechteckLinks;
    } else if (cx + q < x && x < r.pP2.x + 15) {
      form.Griffpunkt = kGriffRechteckRechts;
    }
  } else if (r.pP1.x - 15 < x && x < r.pP2.x + 15) {
    if (cy + q < y && y < r.pP1.y + 15) {
      form.Griffpunkt = kGriffRechteckLinks;
    } else if (r.pP3.y - 15 < y && y < cy - q) {
      form.Griffpunkt = kGriffRechteckRechts;
    }
  }
}

void Rechteck_EigenschaftenUebernehmen(TMainFormState& form, int row) { takeNumericPropertyRows(form, row, 5, 6, 6); }

}  // namespace panel
