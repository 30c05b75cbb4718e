// VIELECK rows. The corners follow each other counter-clockwise on the panel with
// "Uhrzeigersinn" and clockwise with any other direction, the opposite sense of the circle
// types, as polygons have always been cut.
#include "TypeVieleck.h"

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
#include "platform/NumberFormat.h"

namespace panel {

namespace {

constexpr std::string_view kVieleck = "VIELECK";

// Corner i of the polygon of circumradius r: at the polar angle rotation - i * step.
MmPoint corner(const VieleckRecord& v, double r, int i, double step) {
  const double a = GradZuRad(i * step - v.Drehwinkel);
  return {v.M.x + std::cos(a) * r, v.M.y - std::sin(a) * r};
}

}  // namespace

int Vieleck_Neu(TMainFormState& form) {
  const int row = appendObjectRow(form, std::string(kVieleck),
                                  {{1, "5.00"},
                                   {2, "5.00"},
                                   {3, "5.00"},
                                   {4, "6.00"},
                                   {5, "0.00"},
                                   {6, defaultDepthCell(form)},
                                   {8, "nein"},
                                   {9, std::string(kUhrzeigersinn)},
                                   {10, "innen"}});
  Vieleck_EigenschaftenAnzeigen(form, row);
  return row;
}

std::optional<VieleckRecord> Vieleck_Lesen(const TMainFormState& form, const StringGrid& grid, int row) {
  if (trimBlanks(grid.Cells(kZelleTyp, row)) != kVieleck) return std::nullopt;
  const double R = form.Abmessungen.Fraeserradius;
  VieleckRecord v;
  static_cast<RowBasis&>(v) = readRowBasis(grid, row);
  v.M = {shiftedX(form, cellNumber(grid, 1, row)), shiftedY(form, cellNumber(grid, 2, row))};
  v.radius = cellNumber(grid, 3, row);
  v.n = std::clamp(platform::saturatingTrunc(cellNumber(grid, 4, row)), kVieleckMinEcken, kVieleckMaxEcken);
  v.Drehwinkel = cellNumber(grid, 5, row);
  v.tiefe = cutDepth(grid, 6, row);
  v.Eintauchen = machine::Text_ist_wahr(grid.Cells(8, row));
  v.Fraesrichtung = cellOption(grid, 9, row);
  v.Radiuskorrektur = cellOption(grid, 10, row);

  const bool cw = isClockwise(v.Fraesrichtung);
  const double step = (cw ? -360.0 : 360.0) / v.n;
  const std::string& k = v.Radiuskorrektur;
  v.wirkRadius = k == "innen" ? v.radius - R : ((k == "aussen" || k == "aussen-steg") ? v.radius + R : v.radius);
  // A negative radius turns the polygon inside out; only a file can hold one, the properties
  // grid corrects it to 0.
  v.gueltig = v.radius >= 0.0 && !(k == "innen" && v.wirkRadius < R);

  const PanelAnsicht& view = form.Ansicht;
  for (int i = 0; i < v.n; ++i) {
    v.ecken.push_back(corner(v, v.radius, i, step));
    v.pEcken.push_back(toPixel(view, v.ecken.back()));
  }
  for (int j = 0; j <= v.n; ++j) {
    v.eckenK.push_back(corner(v, v.wirkRadius, j, step));
    v.pEckenK.push_back(toPixel(view, v.eckenK.back()));
  }
  v.rampenStart = cw ? v.eckenK[static_cast<std::size_t>(v.n - 1)] : v.eckenK[1];
  v.pRampenStart = toPixel(view, v.rampenStart);
  v.box = circleBoxOf(view, v.M, v.radius);
  return v;
}

void Vieleck_ZeichneLeerfahrt(DrawContext& context, const VieleckRecord& v) {
  drawTravel(context, v.Modus, v.Eintauchen ? v.pRampenStart : v.pEckenK.front());
}

void Vieleck_ZeichneKontur(DrawContext& context, const VieleckRecord& v) {
  platform::Canvas& canvas = context.canvas;
  const platform::Point before = canvas.penPos();
  canvas.setPen(outlinePen(context.form.Farben, v.Modus, v.gueltig));
  clearBrush(canvas);
  const platform::Point first = v.pEcken.front();
  canvas.moveTo(first.x, first.y);
  for (std::size_t i = 1; i < v.pEcken.size(); ++i) canvas.lineTo(v.pEcken[i].x, v.pEcken[i].y);
  canvas.lineTo(first.x, first.y);
  if (v.selektiert) drawCircleHandles(canvas, v.box, context.form.Griffpunkt, kGriffVieleckMitte);
  const platform::Point ende = isMilled(v.Modus) ? v.pEckenK.front() : before;
  canvas.moveTo(ende.x, ende.y);
}

void Vieleck_ZeichneNummer(DrawContext& context, const VieleckRecord& v, int row) {
  NummerZeichnen(context, v.box.c.x, v.box.c.y, row);
}

void Vieleck_ZeichneFraesweg(DrawContext& context, const VieleckRecord& v) {
  if (!isMilled(v.Modus)) return;
  platform::Canvas& canvas = context.canvas;
  const Palette& farben = context.form.Farben;
  clearBrush(canvas);
  const platform::Point p0 = v.pEckenK.front();
  if (v.Eintauchen) {
    canvas.setPen(toolPathPen(farben, farben.FarbeEintauchen, v.gueltig));
    canvas.moveTo(v.pRampenStart.x, v.pRampenStart.y);
    canvas.lineTo(p0.x, p0.y);
  } else {
    canvas.moveTo(p0.x, p0.y);
  }
  canvas.setPen(toolPathPen(farben, farben.FarbeFraesweg, v.gueltig));
  for (std::size_t j = 1; j < v.pEckenK.size(); ++j) canvas.lineTo(v.pEckenK[j].x, v.pEckenK[j].y);
  PfeilspitzeZeichnen(canvas, p0.x, p0.y, v.pEckenK[1].x, v.pEckenK[1].y);
}

void Vieleck_AusdehnungErweitern(Extent& extent, const VieleckRecord& v) {
  const double r = isOutside(compensationOf(v.Radiuskorrektur)) ? v.wirkRadius : v.radius;
  extent.include(v.M.x - r, v.M.y - r, v.M.x + r, v.M.y + r);
}

void Vieleck_Fraesen(MillContext& context, const VieleckRecord& v) {
  if (!mayMill(context, v.Modus, v.gueltig)) return;
  MotionPrimitives& motion = context.motion;
  const MmPoint einstieg = v.Eintauchen ? v.rampenStart : v.eckenK.front();
  motion.cncMoveTo(einstieg.x, einstieg.y);
  motion.cncKuehlmittelpumpe(1);
  // Straight down at corner 0, or with Eintauchen down along the whole edge that ends there; that
  // edge is cut once more at full depth with the chain.
  motion.cncLineTo(0, v.eckenK.front().x, v.eckenK.front().y, v.tiefe);
  for (std::size_t j = 1; j < v.eckenK.size(); ++j) motion.cncLineTo(1, v.eckenK[j].x, v.eckenK[j].y, v.tiefe);
  motion.cncKuehlmittelpumpe(0);
}

bool Vieleck_Selektieren(const TMainFormState&, const VieleckRecord& v, int x, int y) {
  return circleBoxHit(v.box, x, y);
}

void Vieleck_GriffTesten(TMainFormState& form, const VieleckRecord& v, int x, int y) {
  circleGriffTesten(form, v.box, v.selektiert, kGriffVieleckMitte, x, y);
}

void Vieleck_EigenschaftenAnzeigen(TMainFormState& form, int row) {
  PropertyLayout layout;
  layout.caption = "Vieleck-Eigenschaften:";
  layout.esgTyp = static_cast<int>(KonturTyp::Vieleck);
  layout.labels[1] = "X-Mittelpunkt:";
  layout.labels[2] = "Y-Mittelpunkt:";
  layout.labels[3] = "Radius:";
  layout.labels[4] = "Eckenanzahl:";
  layout.labels[5] = "Drehwinkel:";
  layout.labels[6] = "Tiefe:";
  layout.labels[8] = "Eintauchen:";
  layout.labels[9] = "Fräsrichtung:";
  layout.labels[10] = "Radiuskorrektur:";
  showPropertyRows(form, row, layout);
}

void Vieleck_EigenschaftenUebernehmen(TMainFormState& form, int row) { takeNumericPropertyRows(form, row, 6, 3, 6); }

}  // namespace panel
