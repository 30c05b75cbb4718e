// HPGL/PLT rows.
#include "TypeHpgl.h"

#include <filesystem>
#include <set>

#include "panel/HandleCodes.h"
#include "panel/Keywords.h"
#include "panel/MillingFrame.h"
#include "panel/ObjectDrawing.h"
#include "panel/PanelDrawing.h"
#include "panel/PropertyRows.h"

namespace panel {

namespace {

constexpr std::string_view kHpgl = "HPGL/PLT";
constexpr int kZelleDateiname = 4;
constexpr int kZellePfad = 5;

}  // namespace

int Hpgl_Neu(TMainFormState& form, const std::string& path) {
  const std::string name = path.empty() ? std::string() : std::filesystem::path(path).filename().string();
  const int row = appendObjectRow(
      form, std::string(kHpgl),
      {{1, "0.00"}, {2, "0.00"}, {3, defaultDepthCell(form)}, {kZelleDateiname, name}, {kZellePfad, path}});
  Hpgl_EigenschaftenAnzeigen(form, row);
  return row;
}

void hpglReportFile(const TMainFormState& form, const std::string& path, platform::UiServices& ui) {
  if (form.plotReader) form.plotReader(path, Shift{}, &ui);
}

void hpglReportDocumentFiles(const TMainFormState& form, platform::UiServices& ui) {
  const StringGrid& grid = form.DatenStringGrid;
  std::set<std::string> reported;
  for (int row = 1; row < grid.RowCount(); ++row) {
    if (trimBlanks(grid.Cells(kZelleTyp, row)) != kHpgl) continue;
    // A row whose dialog was cancelled names no file and has nothing to say.
    const std::string path = cellOption(grid, kZellePfad, row);
    if (path.empty() || !reported.insert(path).second) continue;
    hpglReportFile(form, path, ui);
  }
}

std::optional<HpglRecord> Hpgl_Lesen(const TMainFormState& form, const StringGrid& grid, int row) {
  if (trimBlanks(grid.Cells(kZelleTyp, row)) != kHpgl) return std::nullopt;
  HpglRecord hpgl;
  static_cast<RowBasis&>(hpgl) = readRowBasis(grid, row);
  hpgl.ursprung = {cellNumber(grid, 1, row) + form.Nutzenversatz.x, cellNumber(grid, 2, row) + form.Nutzenversatz.y};
  hpgl.tiefe = cutDepth(grid, 3, row);
  hpgl.Dateiname = cellOption(grid, kZelleDateiname, row);
  hpgl.Pfad = cellOption(grid, kZellePfad, row);
  if (form.plotReader) hpgl.plot = form.plotReader(hpgl.Pfad, Shift{hpgl.ursprung.x, hpgl.ursprung.y}, nullptr);
  hpgl.welt =
      hpgl.plot ? hpgl.plot->world() : Extent{hpgl.ursprung.x, hpgl.ursprung.y, hpgl.ursprung.x, hpgl.ursprung.y};
  hpgl.links = mm2PixelX(form.Ansicht, hpgl.welt.xMin);
  hpgl.unten = mm2PixelY(form.Ansicht, hpgl.welt.yMin);
  hpgl.rechts = mm2PixelX(form.Ansicht, hpgl.welt.xMax);
  hpgl.oben = mm2PixelY(form.Ansicht, hpgl.welt.yMax);
  return hpgl;
}

void Hpgl_ZeichneLeerfahrt(DrawContext& context, const HpglRecord& hpgl) {
  drawTravel(context, hpgl.Modus, {hpgl.links, hpgl.unten});
}

void Hpgl_ZeichneKontur(DrawContext& context, const HpglRecord& hpgl) {
  platform::Canvas& canvas = context.canvas;
  const platform::Point before = canvas.penPos();
  clearBrush(canvas);
  canvas.setPen(outlinePen(context.form.Farben, hpgl.Modus));
  if (hpgl.plot) hpgl.plot->draw(context);
  if (hpgl.selektiert) {
    drawHandles(canvas, {{hpgl.links - 15, hpgl.unten + 15},
                         {hpgl.rechts + 15, hpgl.unten + 15},
                         {hpgl.rechts + 15, hpgl.oben - 15},
                         {hpgl.links - 15, hpgl.oben - 15}});
    if (context.form.Griffpunkt == kGriffHpglUrsprung) AktivGriffZeichnen(canvas, hpgl.links, hpgl.unten);
  }
  if (!isMilled(hpgl.Modus)) canvas.moveTo(before.x, before.y);
}

void Hpgl_ZeichneNummer(DrawContext& context, const HpglRecord& hpgl, int row) {
  NummerZeichnen(context, hpgl.links + (hpgl.rechts - hpgl.links) / 2, hpgl.oben - (hpgl.oben - hpgl.unten) / 2, row);
}

void Hpgl_AusdehnungErweitern(Extent& extent, const HpglRecord& hpgl) {
  extent.include(hpgl.welt.xMin, hpgl.welt.yMin, hpgl.welt.xMax, hpgl.welt.yMax);
}

void Hpgl_Fraesen(MillContext& context, const HpglRecord& hpgl) {
  // A plot that could not be read is an object that cannot be milled.
  if (!mayMill(context, hpgl.Modus, hpgl.plot && hpgl.plot->readOk())) return;
  context.motion.cncMoveTo(hpgl.ursprung.x, hpgl.ursprung.y);
  hpgl.plot->mill(context, hpgl.tiefe);
}

bool Hpgl_Selektieren(const TMainFormState&, const HpglRecord& hpgl, int x, int y) {
  return hpgl.links <= x && x <= hpgl.rechts && hpgl.oben <= y && y <= hpgl.unten;
}

void Hpgl_GriffTesten(TMainFormState& form, const HpglRecord& hpgl, int x, int y) {
  // The whole inside of the box is the handle, without a margin.
  if (hpgl.links < x && x < hpgl.rechts && hpgl.oben < y && y < hpgl.unten) form.Griffpunkt = kGriffHpglUrsprung;
}

void Hpgl_EigenschaftenAnzeigen(TMainFormState& form, int row) {
  showPropertyRows(form, row, fileAtOriginLayout("HPGL/PLT-Eigenschaften:", KonturTyp::Hpgl));
}

void Hpgl_EigenschaftenUebernehmen(TMainFormState& form, int row) { takeNumericPropertyRows(form, row, 3, -1, 3); }

}  // namespace panel
