// Test fixture for the object types: the standard dispatch table, a view of 4 px per mm with the
// panel origin at pixel (40, 500), a 3 mm cutter, and recording doubles for the canvas and the
// motion primitives. Rows are added as cell lists and driven through the table's roles.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
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

  struct TravelAndEnd {
    platform::Point travelTo;
    platform::Point penEnd;
  };

  // Draws the row with travel lines shown and the pen first at (7, 9); checks that the first line
  // is the travel line from there. Gives where it goes and where the pen is left.
  TravelAndEnd drawFromAside(int row) {
    form_.DrawLeerfahrten = true;
    canvas_.moveTo(7, 9);
    EXPECT_TRUE(draw(row));
    const auto drawn = canvas_.opsOf(testsupport::CanvasOp::Kind::LineTo);
    if (drawn.empty()) {
      ADD_FAILURE() << "nothing drawn";
      return {};
    }
    EXPECT_EQ(drawn[0].from, (platform::Point{7, 9}));
    EXPECT_EQ(drawn[0].pen.colour, form_.Farben.FarbeLeerfahrt);
    return {{drawn[0].args[0], drawn[0].args[1]}, canvas_.penPos()};
  }

  struct HandleCase {
    int x;
    int y;
    int code;  // -1: no handle there
  };

  // The hit test at points that hit and points that miss, then the handle codes at points of the
  // row once it is selected (while it is not, the first point grabs nothing).
  void expectHitsAndHandles(int row, std::initializer_list<platform::Point> hits,
                            std::initializer_list<platform::Point> misses, std::initializer_list<HandleCase> handles) {
    for (const platform::Point& p : hits) EXPECT_TRUE(select(row, p.x, p.y)) << p.x << "," << p.y;
    for (const platform::Point& p : misses) EXPECT_FALSE(select(row, p.x, p.y)) << p.x << "," << p.y;
    form_.DatenStringGrid.setCells(12, row, "false");
    if (handles.size() > 0) {
      EXPECT_EQ(handleAt(row, handles.begin()->x, handles.begin()->y), -1);
    }
    form_.DatenStringGrid.setCells(12, row, "true");
    for (const HandleCase& h : handles) EXPECT_EQ(handleAt(row, h.x, h.y), h.code) << h.x << "," << h.y;
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
