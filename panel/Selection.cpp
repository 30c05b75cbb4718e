// Selection and handle search: both walk every object row in milling order through the type's
// role of the dispatch table.
#include "Selection.h"

#include <string>

#include "machine/TraceLog.h"
#include "panel/Keywords.h"
#include "panel/RowCells.h"

namespace panel {

namespace {

std::string pointText(int x, int y) { return std::to_string(x) + ", " + std::to_string(y); }

}  // namespace

int rowTypeNumber(const StringGrid& grid, int row) { return keywordTypeNumber(trimBlanks(grid.Cells(kZelleTyp, row))); }

void SelectiereObject(TMainFormState& form, const ObjectTypeTable& types, int x, int y) {
  machine::Protokoll_schreiben("SelectiereObject(" + pointText(x, y) + ")");
  StringGrid& grid = form.DatenStringGrid;
  int treffer = -1;
  form.Griffpunkt = kKeinGriff;
  for (int row = 1; row < grid.RowCount(); ++row) grid.setCells(kZelleSelektiert, row, "false");
  for (int row = 1; row < grid.RowCount(); ++row) {
    const int typ = rowTypeNumber(grid, row);
    if (typ < 0) continue;
    const SelectRole& select = types[static_cast<KonturTyp>(typ)].selectRow;
    if (select && select(form, row, x, y)) treffer = row;
  }
  if (treffer != -1) form.iAktZeile = treffer;
  form.iTrefferZeile = treffer;
  machine::Protokoll_schreiben("SelectiereObject(" + pointText(x, y) + ") :: End");
}

bool GriffpunktSuchen(TMainFormState& form, const ObjectTypeTable& types, int x, int y) {
  const int vorher = form.Griffpunkt;
  form.Griffpunkt = kKeinGriff;
  const StringGrid& grid = form.DatenStringGrid;
  for (int row = 1; row < grid.RowCount(); ++row) {
    const int typ = rowTypeNumber(grid, row);
    if (typ < 0) continue;
    const HandleRole& test = types[static_cast<KonturTyp>(typ)].testHandles;
    if (test) test(form, row, x, y);
  }
  return form.Griffpunkt != vorher;
}

}  // namespace panel
