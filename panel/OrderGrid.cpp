// The order grid and the commands on the order of the rows.
#include "OrderGrid.h"

#include <algorithm>
#include <string>

#include "panel/RowCells.h"

namespace panel {

namespace {

bool hasObjectRows(const TMainFormState& form) { return form.DatenStringGrid.RowCount() > 1; }

}  // namespace

void ReihenfolgeAufbauen(TMainFormState& form) {
  const StringGrid& daten = form.DatenStringGrid;
  StringGrid& grid = form.ReihenfolgeStringGrid;
  const int rows = hasObjectRows(form) ? daten.RowCount() : 2;
  grid.setRowCount(0);
  grid.setColCount(kReihenfolgeSpalten);
  grid.setRowCount(rows);
  grid.setCells(0, 0, " Nr.");
  grid.setCells(1, 0, " KonturTyp");
  grid.setCells(2, 0, " E F R F");
  if (!hasObjectRows(form)) {
    // An empty document still shows one placeholder line.
    grid.setCells(0, 1, " 1");
    grid.setCells(1, 1, " -");
    grid.setCells(2, 1, " ");
  } else {
    for (int k = 1; k < rows; ++k) {
      grid.setCells(0, k, " " + std::to_string(k));
      grid.setCells(1, k, " " + daten.Cells(kZelleTyp, k));
      grid.setCells(2, k, " ");
    }
  }
  GridControlState& view = form.ReihenfolgeStringGridControl;
  const int visible = std::max(1, view.VisibleRowCount);
  if (form.iAktZeile >= view.TopRow + visible) view.TopRow = form.iAktZeile - visible + 1;
  view.TopRow = std::clamp(view.TopRow, 1, std::max(1, rows - 1));
  view.Row = form.iAktZeile == 0 ? 1 : form.iAktZeile;
  ++view.generation;
}

void ReihenfolgeKnoepfe(TMainFormState& form) {
  const int rows = form.DatenStringGrid.RowCount();
  form.NachObenSpeedButton.Enabled = form.iAktZeile != 1;
  form.NachUntenSpeedButton.Enabled = form.iAktZeile != 0 && form.iAktZeile < rows - 1;
  form.DelSpeedButton.Enabled = hasObjectRows(form);
  form.EigenschaftenStringGridControl.Enabled = form.DelSpeedButton.Enabled;
}

bool ReihenfolgeWaehlen(TMainFormState& form, int k) {
  if (k <= 0) return false;
  StringGrid& grid = form.DatenStringGrid;
  for (int row = 1; row < grid.RowCount(); ++row) grid.setCells(kZelleSelektiert, row, "false");
  form.iAktZeile = k;
  grid.setCells(kZelleSelektiert, k, "true");
  form.ReihenfolgeStringGridControl.Row = k;
  return true;
}

bool KonturNachOben(TMainFormState& form) {
  const int row = form.iAktZeile;
  if (row < 2 || row >= form.DatenStringGrid.RowCount()) return false;
  form.DatenStringGrid.swapRows(row, row - 1);
  form.iAktZeile = row - 1;
  return true;
}

bool KonturNachUnten(TMainFormState& form) {
  const int row = form.iAktZeile;
  if (row < 1 || row >= form.DatenStringGrid.RowCount() - 1) return false;
  form.DatenStringGrid.swapRows(row, row + 1);
  form.iAktZeile = row + 1;
  return true;
}

bool KonturLoeschen(TMainFormState& form) {
  const int row = form.iAktZeile;
  if (row < 1 || row >= form.DatenStringGrid.RowCount()) return false;
  form.DatenStringGrid.removeRow(row);
  if (row > 1) form.iAktZeile = row - 1;
  return true;
}

}  // namespace panel
