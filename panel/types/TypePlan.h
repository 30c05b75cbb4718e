// PLAN rows: a rectangular area, given by centre and size, face-milled by a zig-zag of
// overlapping straight passes over the area widened by the cutter radius on every side.
//
// Thread context: Plan_Neu, drawing, hit and property roles on the GUI thread; Plan_Fraesen on
// the thread that runs the job, where it blocks while the machine moves and lets failure codes
// through. The parsed record is a value owned by the caller.
#pragma once

#include <optional>

#include "panel/DrawContext.h"
#include "panel/Extent.h"
#include "panel/Geometry.h"
#include "panel/MainFormState.h"
#include "panel/MillContext.h"
#include "panel/RowCells.h"

namespace panel {

// More passes than this are taken for a typing error, not for a face to mill.
inline constexpr int kPlanMaxBahnen = 100000;

struct PlanRecord : RowBasis {
  MmPoint mitte;                                      // centre, shifted
  double Breite = 0.0;                                // as typed
  double Hoehe = 0.0;                                 // as typed
  double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;      // nominal box
  double mx1 = 0.0, my1 = 0.0, mx2 = 0.0, my2 = 0.0;  // milling box: nominal box + cutter radius
  double tiefe = 0.0;                                 // cut depth, positive into the material
  // Passes run at my1 + k * dy for k = 0 .. n; only meaningful when gueltig.
  int n = 0;
  double dy = 0.0;
  // False for a cutter diameter of zero or below, or a pass count below 1 or beyond
  // kPlanMaxBahnen: such a face is drawn as its box only and not milled.
  bool gueltig = false;
  platform::Point pMitte, pBox1, pBox2, pFraes1, pFraes2;  // pixels of centre and box corners (1: x1/y1)
};

int Plan_Neu(TMainFormState& form);
std::optional<PlanRecord> Plan_Lesen(const TMainFormState& form, const StringGrid& grid, int row);

void Plan_ZeichneLeerfahrt(DrawContext& context, const PlanRecord& plan);
void Plan_ZeichneKontur(DrawContext& context, const PlanRecord& plan);
void Plan_ZeichneNummer(DrawContext& context, const PlanRecord& plan, int row);
void Plan_ZeichneFraesweg(DrawContext& context, const PlanRecord& plan);
void Plan_AusdehnungErweitern(Extent& extent, const PlanRecord& plan);

// The zig-zag from (mx1, my1): on the bitmap in the current pen, or through the motion
// primitives at the depth with speed index 1. Draws nothing for a face that is not valid.
void Plan_Zickzack(DrawContext& context, const PlanRecord& plan);
void Plan_Zickzack(MillContext& context, const PlanRecord& plan);

void Plan_Fraesen(MillContext& context, const PlanRecord& plan);

bool Plan_Selektieren(const TMainFormState& form, const PlanRecord& plan, int x, int y);
void Plan_GriffTesten(TMainFormState& form, const PlanRecord& plan, int x, int y);

void Plan_EigenschaftenAnzeigen(TMainFormState& form, int row);
void Plan_EigenschaftenUebernehmen(TMainFormState& form, int row);

}  // namespace panel
