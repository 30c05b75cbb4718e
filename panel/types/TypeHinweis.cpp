// Note rows.
#include "TypeHinweis.h"

#include "panel/Keywords.h"
#include "panel/RowCells.h"

namespace panel {

int Hinweis_Neu(TMainFormState& form) {
  StringGrid& grid = form.DatenStringGrid;
  if (grid.ColCount() < kKonturSpalten) grid.setColCount(kKonturSpalten);
  const int row = grid.RowCount();
  grid.setRowCount(row + 1);
  grid.setCells(kZelleTyp, row, std::string(kKeywords[static_cast<int>(KonturTyp::Hinweis)]));
  Hinweis_EigenschaftenAnzeigen(form, row);
  return row;
}

void Hinweis_EigenschaftenAnzeigen(TMainFormState& form, int row) {
  form.EigenschaftenLabel = "Hinweis-Eigenschaften:";
  form.EigenschaftenStringGrid.setCells(0, 0, "Eigenschaften:");
  form.EigenschaftenStringGrid.setCells(1, 0, "Werte:");
  form.DatenStringGrid.setCells(kZelleSelektiert, row, "true");
  form.esgTyp = static_cast<int>(KonturTyp::Hinweis);
}

}  // namespace panel
