// A small "PUNKT" object type for driving runs of the main window: x and y in cells 1 and 2, a
// dot as its drawing, and as its milling path a travel, a plunge and a lift. A test can run a
// hook on the worker when a row is milled, make a row fail with a code, or make drawing fail.
//
// Thread context: the milling role runs on the run worker. Tests set the hooks before they
// start a run and clear them with reset().
#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "panel/DrawContext.h"
#include "panel/Keywords.h"
#include "panel/MillContext.h"
#include "panel/ObjectType.h"
#include "panel/PanelView.h"
#include "panel/PropertyRows.h"
#include "panel/RowCells.h"

namespace apptest {

struct TestPointType {
  struct Record {
    int row = 0;
    double x = 0.0;
    double y = 0.0;
  };

  // Called on the worker before row `row` is milled.
  static inline std::function<void(int row)> onMill;
  // Milling row failRow throws failCode (0: none).
  static inline std::atomic<int> failRow{0};
  static inline std::atomic<int> failCode{0};
  // Drawing a row throws an exception with this text (empty: none); set it only while no run draws.
  static inline std::string drawFailure;

  static void reset() {
    onMill = nullptr;
    failRow = 0;
    failCode = 0;
    drawFailure.clear();
  }

  static std::optional<Record> Lesen(const panel::TMainFormState& form, const panel::StringGrid& grid, int row) {
    if (panel::trimBlanks(grid.Cells(0, row)) != "PUNKT") return std::nullopt;
    return Record{row, panel::shiftedX(form, panel::cellNumber(grid, 1, row)),
                  panel::shiftedY(form, panel::cellNumber(grid, 2, row))};
  }

  static void ZeichneKontur(panel::DrawContext& context, const Record& r) {
    if (!drawFailure.empty()) throw std::runtime_error(drawFailure);
    const int px = panel::mm2PixelX(context.form.Ansicht, r.x);
    const int py = panel::mm2PixelY(context.form.Ansicht, r.y);
    context.canvas.ellipse(px - 3, py - 3, px + 4, py + 4);
  }

  static void Fraesen(panel::MillContext& context, const Record& r) {
    if (onMill) onMill(r.row);
    if (failCode != 0 && failRow == r.row) throw failCode.load();
    context.motion.cncMoveTo(r.x, r.y);
    context.motion.cncLineTo(0, r.x, r.y, 1.0);
    context.motion.cncLineTo(2, r.x, r.y, 0.0);
  }

  static panel::ObjectTypeTable table() {
    panel::ObjectTypeTable types;
    types[panel::KonturTyp::Punkt] = panel::makeObjectTypeEntry<TestPointType>();
    return types;
  }

  // Appends `count` points along the diagonal of the panel.
  static void appendRows(panel::TMainFormState& form, int count) {
    for (int i = 1; i <= count; ++i) {
      const std::string v = panel::cellText(5.0 * i);
      panel::appendObjectRow(form, "PUNKT", {{1, v}, {2, v}});
    }
  }
};

}  // namespace apptest
