// A small point type used to drive the object-type frame and the panel drawing in tests: it
// parses "PUNKT" rows (x, y, depth in cells 1-3) and logs every role it is asked to play.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "panel/DrawHelpers.h"
#include "panel/HandleCodes.h"
#include "panel/Keywords.h"
#include "panel/MillingFrame.h"
#include "panel/ObjectType.h"
#include "panel/PanelDrawing.h"
#include "panel/PropertyRows.h"
#include "panel/RowCells.h"

namespace paneltest {

struct TestPointType {
  struct Record : panel::RowBasis {
    int row = 0;
    double x = 0.0;
    double y = 0.0;
    double tiefe = 0.0;
    int px = 0;
    int py = 0;
  };

  // Where the roles log; set by the test that uses the type.
  static inline std::vector<std::string>* log = nullptr;

  static void note(const std::string& line) {
    if (log) log->push_back(line);
  }

  static std::optional<Record> Lesen(const panel::TMainFormState& form, const panel::StringGrid& grid, int row) {
    if (panel::trimBlanks(grid.Cells(0, row)) != "PUNKT") return std::nullopt;
    Record r;
    static_cast<panel::RowBasis&>(r) = panel::readRowBasis(grid, row);
    r.row = row;
    r.x = panel::shiftedX(form, panel::cellNumber(grid, 1, row));
    r.y = panel::shiftedY(form, panel::cellNumber(grid, 2, row));
    r.tiefe = panel::cutDepth(grid, 3, row);
    r.px = panel::mm2PixelX(form.Ansicht, r.x);
    r.py = panel::mm2PixelY(form.Ansicht, r.y);
    note("Lesen " + std::to_string(row));
    return r;
  }

  static void ZeichneLeerfahrt(panel::DrawContext& context, const Record& r) {
    note("Leerfahrt " + std::to_string(r.row));
    context.canvas.lineTo(r.px, r.py);
  }
  static void ZeichneKontur(panel::DrawContext& context, const Record& r) {
    note("Kontur " + std::to_string(r.row) + (r.selektiert ? " selected" : ""));
    context.canvas.setPen(panel::outlinePen(context.form.Farben, r.Modus));
    context.canvas.ellipse(r.px - 2, r.py - 2, r.px + 2, r.py + 2);
    if (r.selektiert) panel::GriffZeichnen(context.canvas, r.px + 15, r.py + 15);
  }
  static void ZeichneNummer(panel::DrawContext& context, const Record& r, int row) {
    note("Nummer " + std::to_string(row));
    panel::NummerZeichnen(context, r.px, r.py, row);
  }
  static void ZeichneFraesweg(panel::DrawContext&, const Record& r) { note("Fraesweg " + std::to_string(r.row)); }
  static void AusdehnungErweitern(panel::Extent& e, const Record& r) {
    e.xMax = std::max(e.xMax, r.x);
    e.yMax = std::max(e.yMax, r.y);
  }
  static void Fraesen(panel::MillContext& context, const Record& r) {
    panel::millContour(context, r.Modus, r.tiefe >= 0.0, r.x, r.y, r.tiefe, [] {});
  }
  static bool Selektieren(const panel::TMainFormState&, const Record& r, int x, int y) {
    return std::abs(x - r.px) < 5 && std::abs(y - r.py) < 5;
  }
  static void GriffTesten(panel::TMainFormState& form, const Record& r, int x, int y) {
    if (std::abs(x - r.px) < 5 && std::abs(y - r.py) < 5) form.Griffpunkt = panel::kGriffPunkt;
  }
  static void EigenschaftenAnzeigen(panel::TMainFormState& form, int row) {
    panel::PropertyLayout layout;
    layout.caption = "Punkt-Eigenschaften:";
    layout.esgTyp = 2;
    layout.labels[1] = "X-Punkt:";
    layout.labels[2] = "Y-Punkt:";
    layout.labels[3] = "Tiefe:";
    panel::showPropertyRows(form, row, layout);
  }
  static void EigenschaftenUebernehmen(panel::TMainFormState& form, int row) {
    panel::takeNumericPropertyRows(form, row, 3, -1, 3);
  }
};

// A type that only parses: it neither draws nor mills, like the note.
struct ParseOnlyType {
  struct Record {};
  static std::optional<Record> Lesen(const panel::TMainFormState&, const panel::StringGrid& grid, int row) {
    if (panel::trimBlanks(grid.Cells(0, row)) != "---") return std::nullopt;
    return Record{};
  }
};

}  // namespace paneltest
