// KBOGEN rows. Only "innen" and "aussen", compared exactly, compensate an arc; the pocket and tab
// words cut it on the cutter centre. The sweep itself (full turns for equal angles) is the arc
// primitive's.
#include "TypeKbogen.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "panel/HandleCodes.h"
#include "panel/Keywords.h"
#include "panel/MillingFrame.h"
#include "panel/ObjectDrawing.h"
#include "panel/PanelDrawing.h"
#include "panel/PropertyRows.h"

namespace panel {

namespace {

constexpr std::string_view kKbogen = "KBOGEN";

bool clockwise(const KbogenRecord& b) { return isClockwise(b.Fraesrichtung); }

MmPoint onCircle(MmPoint centre, double radius, double degrees) {
  const double a = GradZuRad(degrees);
  return {centre.x + std::cos(a) * radius, centre.y + std::sin(a) * radius};
}

// Degrees the arc primitive sweeps from the start to the end angle: clockwise down, with 360 added
// to the start unless it is greater; counter-clockwise up, with 360 added to the end unless it
// is greater.
double sweep(const KbogenRecord& b) {
  if (clockwise(b)) return (b.Startwinkel > b.Endwinkel ? b.Startwinkel : b.Startwinkel + 360.0) - b.Endwinkel;
  return (b.Startwinkel < b.Endwinkel ? b.Endwinkel : b.Endwinkel + 360.0) - b.Startwinkel;
}

// The arc from the start to the end angle in the milling direction, in the given pen.
void drawArc(platform::Canvas& canvas, const KbogenRecord& b, int radiusPx, const platform::Pen& pen) {
  if (radiusPx <= 0) return;
  DrawBogen(canvas, clockwise(b), b.box.c.x, b.box.c.y, radiusPx, b.Startwinkel, b.Endwinkel, canvas.brush().colour,
            platform::BrushStyle::Clear, pen.colour, pen.style);
}

}  // namespace

int Kbogen_Neu(TMainFormState& form) {
  const int row = appendObjectRow(form, std::string(kKbogen),
                                  {{1, "5.00"},
                                   {2, "5.00"},
                                   {3, "5.00"},
                                   {4, "135.00"},
                                   {5, "315.00"},
                                   {6, defaultDepthCell(form)},
                                   {9, std::string(kUhrzeigersinn)},
                                   {10, "innen"}});
  Kbogen_EigenschaftenAnzeigen(form, row);
  return row;
}

std::optional<KbogenRecord> Kbogen_Lesen(const TMainFormState& form, const StringGrid& grid, int row) {
  if (trimBlanks(grid.Cells(kZelleTyp, row)) != kKbogen) return std::nullopt;
  const double R = form.Abmessungen.Fraeserradius;
  KbogenRecord b;
  static_cast<RowBasis&>(b) = readRowBasis(grid, row);
  b.M = {shiftedX(form, cellNumber(grid, 1, row)), shiftedY(form, cellNumber(grid, 2, row))};
  b.radius = cellNumber(grid, 3, row);
  b.Startwinkel = cellNumber(grid, 4, row);
  b.Endwinkel = cellNumber(grid, 5, row);
  b.tiefe = cutDepth(grid, 6, row);
  b.Fraesrichtung = cellOption(grid, 9, row);
  b.Radiuskorrektur = cellOption(grid, 10, row);

  const double offset = b.Radiuskorrektur == "innen" ? -R : (b.Radiuskorrektur == "aussen" ? R : 0.0);
  b.wirkRadius = b.radius + offset;
  b.start = onCircle(b.M, b.wirkRadius, b.Startwinkel);
  b.ende = onCircle(b.M, b.wirkRadius, b.Endwinkel);
  // A negative radius has no arc to cut; only a file can hold one, the properties grid corrects
  // it to 0.
  b.gueltig = b.radius >= 0.0 && !(b.Radiuskorrektur == "innen" && b.radius < R) && sweep(b) <= kKbogenMaxSweep;

  b.box = circleBoxOf(form.Ansicht, b.M, b.radius);
  b.wirkRadiusPx = pixelLength(form.Ansicht, b.wirkRadius);
  b.pStart = toPixel(form.Ansicht, b.start);
  b.pEnde = toPixel(form.Ansicht, b.ende);
  return b;
}

void Kbogen_ZeichneLeerfahrt(DrawContext& context, const KbogenRecord& b) { drawTravel(context, b.Modus, b.pStart); }

void Kbogen_ZeichneKontur(DrawContext& context, const KbogenRecord& b) {
  platform::Canvas& canvas = context.canvas;
  const platform::Point before = canvas.penPos();
  const platform::Pen pen = outlinePen(context.form.Farben, b.Modus, b.gueltig);
  canvas.setPen(pen);
  clearBrush(canvas);
  drawArc(canvas, b, b.box.radius, pen);
  if (b.selektiert) drawCircleHandles(canvas, b.box, context.form.Griffpunkt, kGriffKbogenMitte);
  const platform::Point ende = isMilled(b.Modus) ? b.pEnde : before;
  canvas.moveTo(ende.x, ende.y);
}

void Kbogen_ZeichneNummer(DrawContext& context, const KbogenRecord& b, int row) {
  NummerZeichnen(context, b.box.c.x, b.box.c.y, row);
}

void Kbogen_ZeichneFraesweg(DrawContext& context, const KbogenRecord& b) {
  if (!isMilled(b.Modus)) return;
  platform::Canvas& canvas = context.canvas;
  const Palette& farben = context.form.Farben;
  const platform::Pen pen = toolPathPen(farben, farben.FarbeFraesweg, b.gueltig);
  canvas.setPen(pen);
  clearBrush(canvas);
  drawArc(canvas, b, b.wirkRadiusPx, pen);
  RichtungspfeilZeichnen(canvas, b.box.c.x, b.box.c.y, b.wirkRadiusPx, b.Startwinkel, clockwise(b));
  canvas.moveTo(b.pEnde.x, b.pEnde.y);
}

void Kbogen_AusdehnungErweitern(Extent& extent, const KbogenRecord& b) {
  // The whole circle, not only the arc.
  const double r = isOutside(compensationOf(b.Radiuskorrektur)) ? b.wirkRadius : b.radius;
  extent.include(b.M.x - r, b.M.y - r, b.M.x + r, b.M.y + r);
}

void Kbogen_Fraesen(MillContext& context, const KbogenRecord& b) {
  millContour(context, b.Modus, b.gueltig, b.start.x, b.start.y, b.tiefe, [&] {
    context.motion.cncKreisLineTo(clockwise(b) ? 1 : 0, b.M.x, b.M.y, b.wirkRadius, b.Startwinkel, b.Endwinkel,
                                  b.tiefe);
  });
}

bool Kbogen_Selektieren(const TMainFormState&, const KbogenRecord& b, int x, int y) {
  return circleBoxHit(b.box, x, y);
}

void Kbogen_GriffTesten(TMainFormState& form, const KbogenRecord& b, int x, int y) {
  circleGriffTesten(form, b.box, b.selektiert, kGriffKbogenMitte, x, y);
}

void Kbogen_EigenschaftenAnzeigen(TMainFormState& form, int row) {
  PropertyLayout layout;
  layout.caption = "Kreisbogen-Eigenschaften:";
  layout.esgTyp = static_cast<int>(KonturTyp::Kbogen);
  layout.labels[1] = "X-Mittelpunkt:";
  layout.labels[2] = "Y-Mittelpunkt:";
  layout.labels[3] = "Radius:";
  layout.labels[4] = "Startwinkel:";
  layout.labels[5] = "Endwinkel:";
  layout.labels[6] = "Tiefe:";
  layout.labels[9] = "Fräsrichtung:";
  layout.labels[10] = "Radiuskorrektur:";
  showPropertyRows(form, row, layout);
}

void Kbogen_EigenschaftenUebernehmen(TMainFormState& form, int row) { takeNumericPropertyRows(form, row, 6, 3, 6); }

}  // namespace panel
