// PLAN rows. The pass count is chosen so that neighbouring passes overlap by a quarter of the
// cutter, and the passes are counted with an integer so that the top edge is always run and a
// face can never make the zig-zag endless.
#include "TypePlan.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "panel/HandleCodes.h"
#include "panel/Keywords.h"
#include "panel/MillingFrame.h"
#include "panel/ObjectDrawing.h"
#include "panel/PanelDrawing.h"
#include "panel/PropertyRows.h"
#include "platform/NumberFormat.h"

namespace panel {

namespace {

constexpr std::string_view kPlan = "PLAN";
constexpr double kBahnAbstandFaktor = 0.75;  // pass spacing at most this part of the diameter

// Walks the zig-zag, handing each straight piece's end point to lineTo.
template <class LineTo>
void walkZigzag(const PlanRecord& plan, LineTo&& lineTo) {
  if (!plan.gueltig) return;
  bool rechts = true;
  for (int k = 0; k <= plan.n; ++k) {
    const double y = k == plan.n ? plan.my2 : plan.my1 + k * plan.dy;
    const double x = rechts ? plan.mx2 : plan.mx1;
    lineTo(x, y);
    if (k < plan.n) {
      const double next = k + 1 == plan.n ? plan.my2 : plan.my1 + (k + 1) * plan.dy;
      lineTo(x, next);
    }
    rechts = !rechts;
  }
}

}  // namespace

int Plan_Neu(TMainFormState& form) {
  const int row = appendObjectRow(
      form, std::string(kPlan), {{1, "25.00"}, {2, "25.00"}, {3, "50.00"}, {4, "50.00"}, {5, defaultDepthCell(form)}});
  Plan_EigenschaftenAnzeigen(form, row);
  return row;
}

std::optional<PlanRecord> Plan_Lesen(const TMainFormState& form, const StringGrid& grid, int row) {
  if (trimBlanks(grid.Cells(kZelleTyp, row)) != kPlan) return std::nullopt;
  PlanRecord plan;
  static_cast<RowBasis&>(plan) = readRowBasis(grid, row);
  plan.mitte = {shiftedX(form, cellNumber(grid, 1, row)), shiftedY(form, cellNumber(grid, 2, row))};
  plan.Breite = cellNumber(grid, 3, row);
  plan.Hoehe = cellNumber(grid, 4, row);
  plan.tiefe = cutDepth(grid, 5, row);

  const double radius = form.Abmessungen.Fraeserradius;
  plan.x1 = plan.mitte.x - plan.Breite / 2.0;
  plan.y1 = plan.mitte.y - plan.Hoehe / 2.0;
  plan.x2 = plan.mitte.x + plan.Breite / 2.0;
  plan.y2 = plan.mitte.y + plan.Hoehe / 2.0;
  plan.mx1 = plan.x1 - radius;
  plan.my1 = plan.y1 - radius;
  plan.mx2 = plan.x2 + radius;
  plan.my2 = plan.y2 + radius;

  // The pass count is checked as a double before it becomes an integer: a cutter of no size or
  // an absurd height must make the face unmillable, not divide by zero or run for ever.
  const double durchmesser = form.Abmessungen.Fraeserdurchmesser;
  const double hoehe = plan.my2 - plan.my1;
  if (durchmesser > 0.0 && std::isfinite(durchmesser) && std::isfinite(hoehe)) {
    const double bahnen = std::floor(hoehe / (kBahnAbstandFaktor * durchmesser)) + 1.0;
    if (bahnen >= 1.0 && bahnen <= kPlanMaxBahnen) {
      plan.n = platform::saturatingTrunc(bahnen);
      plan.dy = hoehe / plan.n;
      plan.gueltig = true;
    }
  }

  const PanelAnsicht& view = form.Ansicht;
  plan.pMitte = toPixel(view, plan.mitte);
  plan.pBox1 = toPixel(view, {plan.x1, plan.y1});
  plan.pBox2 = toPixel(view, {plan.x2, plan.y2});
  plan.pFraes1 = toPixel(view, {plan.mx1, plan.my1});
  plan.pFraes2 = toPixel(view, {plan.mx2, plan.my2});
  return plan;
}

void Plan_ZeichneLeerfahrt(DrawContext& context, const PlanRecord& plan) {
  drawTravel(context, plan.Modus, plan.pFraes1);
}

void Plan_ZeichneKontur(DrawContext& context, const PlanRecord& plan) {
  platform::Canvas& canvas = context.canvas;
  canvas.setPen(outlinePen(context.form.Farben, plan.Modus, plan.gueltig));
  clearBrush(canvas);
  canvas.rectangle(plan.pBox1.x, plan.pBox2.y, plan.pBox2.x, plan.pBox1.y);
  if (plan.gueltig) {
    canvas.moveTo(plan.pFraes1.x, plan.pFraes1.y);
    Plan_Zickzack(context, plan);
  }
  if (plan.selektiert) {
    const platform::Point a = plan.pFraes1;
    const platform::Point b = plan.pFraes2;
    drawHandles(canvas, {{a.x - 15, a.y + 15}, {b.x + 15, a.y + 15}, {b.x + 15, b.y - 15}, {a.x - 15, b.y - 15}});
    if (context.form.Griffpunkt == kGriffPlanMitte) AktivGriffZeichnen(canvas, plan.pMitte.x, plan.pMitte.y);
  }
}

void Plan_ZeichneNummer(DrawContext& context, const PlanRecord& plan, int row) {
  NummerZeichnen(context, plan.pMitte.x, plan.pMitte.y, row);
}

void Plan_ZeichneFraesweg(DrawContext& context, const PlanRecord& plan) {
  if (!isMilled(plan.Modus) || !plan.gueltig) return;
  context.canvas.setPen(dottedPen(context.form.Farben.FarbeFraesweg));
  context.canvas.moveTo(plan.pFraes1.x, plan.pFraes1.y);
  Plan_Zickzack(context, plan);
}

void Plan_AusdehnungErweitern(Extent& extent, const PlanRecord& plan) {
  extent.xMin = std::min(extent.xMin, plan.mx1);
  extent.yMin = std::min(extent.yMin, plan.my1);
  extent.xMax = std::max(extent.xMax, plan.mx2);
  extent.yMax = std::max(extent.yMax, plan.my2);
}

void Plan_Zickzack(DrawContext& context, const PlanRecord& plan) {
  const PanelAnsicht& view = context.form.Ansicht;
  walkZigzag(plan, [&](double x, double y) { context.canvas.lineTo(mm2PixelX(view, x), mm2PixelY(view, y)); });
}

void Plan_Zickzack(MillContext& context, const PlanRecord& plan) {
  walkZigzag(plan, [&](double x, double y) { context.motion.cncLineTo(1, x, y, plan.tiefe); });
}

void Plan_Fraesen(MillContext& context, const PlanRecord& plan) {
  millContour(context, plan.Modus, plan.gueltig, plan.mx1, plan.my1, plan.tiefe, [&] { Plan_Zickzack(context, plan); });
}

bool Plan_Selektieren(const TMainFormState&, const PlanRecord& plan, int x, int y) {
  return plan.pBox1.x <= x && x <= plan.pBox2.x && plan.pBox2.y <= y && y <= plan.pBox1.y;
}

void Plan_GriffTesten(TMainFormState& form, const PlanRecord& plan, int x, int y) {
  if (!plan.selektiert) return;
  const int c = clampPixel(platform::saturatingTrunc(plan.Breite * form.Ansicht.dMassstab * 0.25));
  if (std::abs(x - plan.pMitte.x) < c && std::abs(y - plan.pMitte.y) < c) form.Griffpunkt = kGriffPlanMitte;
}

void Plan_EigenschaftenAnzeigen(TMainFormState& form, int row) {
  PropertyLayout layout;
  layout.caption = "Planfräsen-Eigenschaften:";
  layout.esgTyp = static_cast<int>(KonturTyp::Plan);
  layout.labels[1] = "X-Mittelpunkt:";
  layout.labels[2] = "Y-Mittelpunkt:";
  layout.labels[3] = "Breite:";
  layout.labels[4] = "Höhe:";
  layout.labels[5] = "Tiefe:";
  showPropertyRows(form, row, layout);
}

void Plan_EigenschaftenUebernehmen(TMainFormState& form, int row) { takeNumericPropertyRows(form, row, 5, -1, 5); }

}  // namespace panel
