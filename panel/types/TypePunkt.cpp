// PUNKT rows. The cutter is drawn as a cross of a third of its radius and its tool path as the
// circle it cuts; objects that are not milled leave the chain of travel lines alone.
#include "TypePunkt.h"

#include <algorithm>
#include <string>

#include "panel/HandleCodes.h"
#include "panel/Keywords.h"
#include "panel/MillingFrame.h"
#include "panel/ObjectDrawing.h"
#include "panel/PanelDrawing.h"
#include "panel/PropertyRows.h"

namespace panel {

namespace {

constexpr std::string_view kPunkt = "PUNKT";

int cutterPixels(const TMainFormState& form) { return pixelLength(form.Ansicht, form.Abmessungen.Fraeserradius); }

}  // namespace

int Punkt_Neu(TMainFormState& form) {
  const int row = appendObjectRow(form, std::string(kPunkt), {{1, "5.00"}, {2, "5.00"}, {3, defaultDepthCell(form)}});
  Punkt_EigenschaftenAnzeigen(form, row);
  return row;
}

std::optional<PunktRecord> Punkt_Lesen(const TMainFormState& form, const StringGrid& grid, int row) {
  if (trimBlanks(grid.Cells(kZelleTyp, row)) != kPunkt) return std::nullopt;
  PunktRecord punkt;
  static_cast<RowBasis&>(punkt) = readRowBasis(grid, row);
  punkt.punkt = {shiftedX(form, cellNumber(grid, 1, row)), shiftedY(form, cellNumber(grid, 2, row))};
  punkt.tiefe = cutDepth(grid, 3, row);
  punkt.p = toPixel(form.Ansicht, punkt.punkt);
  return punkt;
}

void Punkt_ZeichneLeerfahrt(DrawContext& context, const PunktRecord& punkt) {
  drawTravel(context, punkt.Modus, punkt.p);
}

void Punkt_ZeichneKontur(DrawContext& context, const PunktRecord& punkt) {
  platform::Canvas& canvas = context.canvas;
  const platform::Point before = canvas.penPos();
  const platform::Point p = punkt.p;
  const int k = clampPixel(
      platform::saturatingTrunc(context.form.Abmessungen.Fraeserradius * context.form.Ansicht.dMassstab / 3.0));
  canvas.setPen(outlinePen(context.form.Farben, punkt.Modus));
  canvas.moveTo(p.x - k, p.y - k);
  canvas.lineTo(p.x + k, p.y + k);
  canvas.moveTo(p.x + k, p.y - k);
  canvas.lineTo(p.x - k, p.y + k);
  canvas.moveTo(p.x, p.y);
  if (punkt.selektiert) {
    drawHandles(canvas, {{p.x - 15, p.y - 15}, {p.x + 15, p.y - 15}, {p.x + 15, p.y + 15}, {p.x - 15, p.y + 15}});
    if (context.form.Griffpunkt == kGriffPunkt) AktivGriffZeichnen(canvas, p.x, p.y);
  }
  if (!isMilled(punkt.Modus)) canvas.moveTo(before.x, before.y);
}

void Punkt_ZeichneNummer(DrawContext& context, const PunktRecord& punkt, int row) {
  NummerZeichnen(context, punkt.p.x, punkt.p.y, row);
}

void Punkt_ZeichneFraesweg(DrawContext& context, const PunktRecord& punkt) {
  if (!isMilled(punkt.Modus)) return;
  platform::Canvas& canvas = context.canvas;
  DrawKreis(canvas, punkt.p.x, punkt.p.y, cutterPixels(context.form), canvas.brush().colour,
            platform::BrushStyle::Clear, context.form.Farben.FarbeFraesweg, platform::PenStyle::Dot);
  canvas.moveTo(punkt.p.x, punkt.p.y);
}

void Punkt_AusdehnungErweitern(Extent& extent, const PunktRecord& punkt) {
  extent.xMin = std::min(extent.xMin, punkt.punkt.x);
  extent.yMin = std::min(extent.yMin, punkt.punkt.y);
  extent.xMax = std::max(extent.xMax, punkt.punkt.x);
  extent.yMax = std::max(extent.yMax, punkt.punkt.y);
}

void Punkt_Fraesen(MillContext& context, const PunktRecord& punkt) {
  // The cutter stays down at the depth; the next object's travel lifts it.
  millContour(context, punkt.Modus, true, punkt.punkt.x, punkt.punkt.y, punkt.tiefe, [] {});
}

bool Punkt_Selektieren(const TMainFormState& form, const PunktRecord& punkt, int x, int y) {
  const int d = cutterPixels(form);
  return punkt.p.x - d <= x && x <= punkt.p.x + d && punkt.p.y - d <= y && y <= punkt.p.y + d;
}

void Punkt_GriffTesten(TMainFormState& form, const PunktRecord& punkt, int x, int y) {
  if (!punkt.selektiert) return;
  const int d = cutterPixels(form);
  if (punkt.p.x - d < x && x < punkt.p.x + d && punkt.p.y - d < y && y < punkt.p.y + d) form.Griffpunkt = kGriffPunkt;
}

void Punkt_EigenschaftenAnzeigen(TMainFormState& form, int row) {
  PropertyLayout layout;
  layout.caption = "Punkt-Eigenschaften:";
  layout.esgTyp = static_cast<int>(KonturTyp::Punkt);
  layout.labels[1] = "X-Punkt:";
  layout.labels[2] = "Y-Punkt:";
  layout.labels[3] = "Tiefe:";
  showPropertyRows(form, row, layout);
}

void Punkt_EigenschaftenUebernehmen(TMainFormState& form, int row) { takeNumericPropertyRows(form, row, 3, -1, 3); }

}  // namespace panel
