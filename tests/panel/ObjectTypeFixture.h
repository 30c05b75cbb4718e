// Test fixture for the object types: the standard dispatch table, a view of 4 px per mm with the
// panel origin at pixel (40, 500), a 3 mm cutter, and recording doubles for the canvas and the
// motion primitives. Rows are added as cell lists and driven through the table's roles.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "RecordingMotion.h"
#include "TraceLogFolder.h"
#include "panel/DrawContext.h"
#include "panel/MillContext.h"
#include "panel/ObjectTypes.h"
#include "panel/PropertyRows.h"
#include "support/RecordingCanvas.h"

namespace paneltest {

using Cells = std::vector<std::pair<int, std::string>>;

class ObjectTypeFixture : public TraceLogFolder {
 protected:
  ObjectTypeFixture() {
    form_.Ansicht.x0 = 40;
    form_.Ansicht.y0 = 500;
    form_.Ansicht.dMassstab = 4.0;
    form_.Abmessungen.setFraeserdurchmesser(3.0);
    form_.DrawFraeswege = true;
  }

  panel::KonturTyp typeOf(int row) const {
    return static_cast<panel::KonturTyp>(
        panel::keywordTypeNumber(panel::trimBlanks(form_.DatenStringGrid.Cells(0, row))));
  }

  // An object row with the given cells; unless they say otherwise, mode "ja" and not selected.
  int addRow(const std::string& keyword, const Cells& cells) {
    const int row = panel::appendObjectRow(form_, keyword, {});
    form_.DatenStringGrid.setCells(12, row, "false");
    for (const auto& [col, text] : cells) form_.DatenStringGrid.setCells(col, row, text);
    return row;
  }

  void setCell(int row, int col, const std::string& text) { form_.DatenStringGrid.setCells(col, row, text); }

  // Mills the row through the table and returns the recorded motion calls.
  std::vector<std::string> mill(int row) {
    motion_.calls.clear();
    panel::MillContext context{form_, types_, motion_, {}, [this] { ++beeps_; }};
    types_[typeOf(row)].millRow(context, form_.DatenStringGrid, row);
    return motion_.calls;
  }

  bool draw(int row) {
    panel::DrawContext context{form_, canvas_, types_};
    return types_[typeOf(row)].drawRow(context, form_.DatenStringGrid, row);
  }

  bool select(int row, int x, int y) { return types_[typeOf(row)].selectRow(form_, row, x, y); }

  int handleAt(int row, int x, int y) {
    form_.Griffpunkt = panel::kKeinGriff;
    types_[typeOf(row)].testHandles(form_, row, x, y);
    return form_.Griffpunkt;
  }

  // The recorded canvas lines as "x1,y1-x2,y2".
  std::vector<std::string> lines() const {
    std::vector<std::string> out;
    for (const auto& op : canvas_.opsOf(testsupport::CanvasOp::Kind::LineTo))
      out.push_back(std::to_string(op.from.x) + "," + std::to_string(op.from.y) + "-" + std::to_string(op.args[0]) +
                    "," + std::to_string(op.args[1]));
    return out;
  }

  panel::TMainFormState form_;
  panel::ObjectTypeTable types_ = panel::standardObjectTypes();
  RecordingMotion motion_;
  testsupport::RecordingCanvas canvas_;
  int beeps_ = 0;
};

}  // namespace paneltest
