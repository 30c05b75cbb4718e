// LINIE1 rows and the line core. With Eintauchen the cutter ramps down from the midpoint to the
// start of the cut along the line itself, so that half of the line is cut twice.
#include "TypeLinie.h"

#include <algorithm>
#include <cstdlib>
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

constexpr std::string_view kLinie1 = "LINIE1";

// Where the cut begins (A) and ends (B): start to end clockwise, end to start otherwise.
MmPoint lineCutStart(const LinieRecord& l) { return isClockwise(l.Fraesrichtung) ? l.start : l.ende; }
MmPoint lineCutEnd(const LinieRecord& l) { return isClockwise(l.Fraesrichtung) ? l.ende : l.start; }
platform::Point pixelCutStart(const LinieRecord& l) { return isClockwise(l.Fraesrichtung) ? l.pStart : l.pEnde; }
platform::Point pixelCutEnd(const LinieRecord& l) { return isClockwise(l.Fraesrichtung) ? l.pEnde : l.pStart; }

}  // namespace

int Linie1_Neu(TMainFormState& form) {
  const int row = appendObjectRow(form, std::string(kLinie1),
                                  {{1, "0.00"},
                                   {2, "0.00"},
                                   {3, "5.00"},
                                   {4, "5.00"},
                                   {5, defaultDepthCell(form)},
                                   {8, "nein"},
                                   {9, std::string(kUhrzeigersinn)},
                                   {10, "mitte"}});
  Linie1_EigenschaftenAnzeigen(form, row);
  return row;
}

std::optional<LinieRecord> Linie1_Lesen(const TMainFormState& form, const StringGrid& grid, int row) {
  if (trimBlanks(grid.Cells(kZelleTyp, row)) != kLinie1) return std::nullopt;
  LinieRecord linie;
  static_cast<RowBasis&>(linie) = readRowBasis(grid, row);
  linie.start = {cellNumber(grid, 1, row), cellNumber(grid, 2, row)};
  linie.ende = {cellNumber(grid, 3, row), cellNumber(grid, 4, row)};
  linie.tiefe = cutDepth(grid, 5, row);
  linie.Eintauchen = machine::Text_ist_wahr(grid.Cells(8, row));
  linie.Fraesrichtung = cellOption(grid, 9, row);
  linie.Radiuskorrektur = cellOption(grid, 10, row);
  Linie_Berechnen(form, linie);
  return linie;
}

void Linie1_EigenschaftenAnzeigen(TMainFormState& form, int row) {
  PropertyLayout layout;
  layout.caption = "Linie-Eigenschaften:";
  layout.esgTyp = static_cast<int>(KonturTyp::Linie1);
  layout.labels[1] = "X-Start:";
  layout.labels[2] = "Y-Start:";
  layout.labels[3] = "X-End:";
  layout.labels[4] = "Y-End:";
  layout.labels[5] = "Tiefe:";
  layout.labels[8] = "Eintauchen:";
  layout.labels[9] = "Fräsrichtung:";
  layout.labels[10] = "Radiuskorrektur:";
  showPropertyRows(form, row, layout);
}

void Linie1_EigenschaftenUebernehmen(TMainFormState& form, int row) { takeNumericPropertyRows(form, row, 5, -1, 5); }

void Linie_Berechnen(const TMainFormState& form, LinieRecord& linie) {
  linie.start = {shiftedX(form, linie.start.x), shiftedY(form, linie.start.y)};
  linie.ende = {shiftedX(form, linie.ende.x), shiftedY(form, linie.ende.y)};
  linie.mitte = {linie.start.x + (linie.ende.x - linie.start.x) / 2.0,
                 linie.start.y + (linie.ende.y - linie.start.y) / 2.0};
  linie.pStart = toPixel(form.Ansicht, linie.start);
  linie.pEnde = toPixel(form.Ansicht, linie.ende);
  linie.pMitte = toPixel(form.Ansicht, linie.mitte);
}

void Linie_ZeichneLeerfahrt(DrawContext& context, const LinieRecord& linie) {
  drawTravel(context, linie.Modus, linie.Eintauchen ? pixelCutEnd(linie) : pixelCutStart(linie));
}

void Linie_ZeichneKontur(DrawContext& context, const LinieRecord& linie) {
  platform::Canvas& canvas = context.canvas;
  const platform::Point before = canvas.penPos();
  const platform::Point a = pixelCutStart(linie);
  const platform::Point b = pixelCutEnd(linie);
  canvas.setPen(outlinePen(context.form.Farben, linie.Modus));
  canvas.moveTo(a.x, a.y);
  canvas.lineTo(b.x, b.y);
  if (linie.selektiert) {
    const platform::Point s = linie.pStart;
    const platform::Point e = linie.pEnde;
    drawHandles(canvas, {{s.x - 15, s.y + 15}, {e.x + 15, s.y + 15}, {e.x + 15, e.y - 15}, {s.x - 15, e.y - 15}});
    switch (context.form.Griffpunkt) {
      case kGriffLinieStart:
        AktivGriffZeichnen(canvas, s.x, s.y);
        break;
      case kGriffLinieEnde:
        AktivGriffZeichnen(canvas, e.x, e.y);
        break;
      case kGriffLinieMitte:
        AktivGriffZeichnen(canvas, linie.pMitte.x, linie.pMitte.y);
        break;
      default:
        break;
    }
  }
  if (!isMilled(linie.Modus)) canvas.moveTo(before.x, before.y);
}

void Linie_ZeichneNummer(DrawContext& context, const LinieRecord& linie, int row) {
  NummerZeichnen(context, linie.pMitte.x, linie.pMitte.y, row);
}

void Linie_ZeichneFraesweg(DrawContext& context, const LinieRecord& linie) {
  if (!isMilled(linie.Modus)) return;
  platform::Canvas& canvas = context.canvas;
  const Palette& farben = context.form.Farben;
  const platform::Point a = pixelCutStart(linie);
  const platform::Point b = pixelCutEnd(linie);
  canvas.setPen(dottedPen(linie.Eintauchen ? farben.FarbeEintauchen : farben.FarbeFraesweg));
  canvas.moveTo(a.x, a.y);
  canvas.lineTo(b.x, b.y);
  PfeilspitzeZeichnen(canvas, a.x, a.y, b.x, b.y);
  if (linie.Eintauchen) PfeilspitzeZeichnen(canvas, b.x, b.y, a.x, a.y);
}

void Linie_AusdehnungErweitern(Extent& extent, const LinieRecord& linie) {
  extent.xMin = std::min({extent.xMin, linie.start.x, linie.ende.x});
  extent.yMin = std::min({extent.yMin, linie.start.y, linie.ende.y});
  extent.xMax = std::max({extent.xMax, linie.start.x, linie.ende.x});
  extent.yMax = std::max({extent.yMax, linie.start.y, linie.ende.y});
}

void Linie_Fraesen(MillContext& context, const LinieRecord& linie) {
  if (!mayMill(context, linie.Modus, true)) return;
  MotionPrimitives& motion = context.motion;
  const MmPoint a = lineCutStart(linie);
  const MmPoint b = lineCutEnd(linie);
  const MmPoint einstieg = linie.Eintauchen ? linie.mitte : a;
  motion.cncMoveTo(einstieg.x, einstieg.y);
  motion.cncKuehlmittelpumpe(1);
  // A plunge at A, or with Eintauchen a ramp from the midpoint at the surface down to A.
  motion.cncLineTo(0, a.x, a.y, linie.tiefe);
  motion.cncLineTo(1, b.x, b.y, linie.tiefe);
  motion.cncKuehlmittelpumpe(0);
}

bool Linie_Selektieren(const TMainFormState&, const LinieRecord& linie, int x, int y) {
  const platform::Point s = linie.pStart;
  const platform::Point e = linie.pEnde;
  return std::min(s.x, e.x) - 4 <= x && x <= std::max(s.x, e.x) + 4 && std::min(s.y, e.y) - 4 <= y &&
         y <= std::max(s.y, e.y) + 4;
}

void Linie_GriffTesten(TMainFormState& form, const LinieRecord& linie, int x, int) {
  if (!linie.selektiert) return;
  const int sx = linie.pStart.x;
  const int ex = linie.pEnde.x;
  const int mx = linie.pMitte.x;
  const int q = std::abs(ex - sx) / 4;
  if (sx < ex) {
    if (sx - 15 < x && x < mx - q) {
      form.Griffpunkt = kGriffLinieStart;
    } else if (mx + q < x && x < ex + 15) {
      form.Griffpunkt = kGriffLinieEnde;
    } else if (mx - q < x && x < mx + q) {
      form.Griffpunkt = kGriffLinieMitte;
    }
  } else {
    if (ex - 15 < x && x < mx - q + 15) {
      form.Griffpunkt = kGriffLinieEnde;
    } else if (mx + q < x && x < sx + 15) {
      form.Griffpunkt = kGriffLinieStart;
    } else if (mx - q < x && x < mx + q) {
      form.Griffpunkt = kGriffLinieMitte;
    }
  }
}

}  // namespace panel
