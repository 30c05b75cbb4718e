// Test fixture for editing a panel document: the object-type fixture on a 100 x 100 mm panel laid
// out once on the recording canvas, so that pixels of millimetre points can be worked out and
// clicked, and a draw context for the functions that redraw.
#pragma once

#include "ObjectTypeFixture.h"
#include "panel/DrawContext.h"
#include "panel/PanelDrawing.h"
#include "panel/PanelView.h"

namespace paneltest {

class EditingFixture : public ObjectTypeFixture {
 protected:
  void SetUp() override {
    ObjectTypeFixture::SetUp();
    form_.Dokumenttyp = panel::DocumentKind::Panel;
    form_.Abmessungen.Plattenbreite = 100.0;
    form_.Abmessungen.Plattenhoehe = 100.0;
    // Every redraw lays the panel out the same way on the same canvas; the first one fixes it.
    panel::DrawContext first = context();
    panel::DrawTVXFormat(first);
  }

  panel::DrawContext context() { return panel::DrawContext{form_, canvas_, types_}; }

  // The pixel of a panel point, moved by (dx, dy) pixels.
  platform::Point at(double x, double y, int dx = 0, int dy = 0) const {
    return {panel::mm2PixelX(form_.Ansicht, x) + dx, panel::mm2PixelY(form_.Ansicht, y) + dy};
  }

  const std::string& cell(int row, int col) const { return form_.DatenStringGrid.Cells(col, row); }
  const std::string& property(int row) const { return form_.EigenschaftenStringGrid.Cells(1, row); }
};

}  // namespace paneltest
