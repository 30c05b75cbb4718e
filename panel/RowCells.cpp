// Common reading and writing rules of object-row cells.
#include "RowCells.h"

#include "machine/TextConvert.h"
#include "platform/NumberFormat.h"

namespace panel {

double cellNumber(const StringGrid& grid, int col, int row) { return machine::Text_in_Zahl(grid.Cells(col, row)); }

std::string cellOption(const StringGrid& grid, int col, int row) { return machine::Text_trimmen(grid.Cells(col, row)); }

RowBasis readRowBasis(const StringGrid& grid, int row) {
  return RowBasis{cellOption(grid, kZelleModus, row), machine::Text_ist_wahr(grid.Cells(kZelleSelektiert, row))};
}

double shiftedX(const TMainFormState& form, double x) { return (x + form.Einfuegeversatz.x) + form.Nutzenversatz.x; }

double shiftedY(const TMainFormState& form, double y) { return (y + form.Einfuegeversatz.y) + form.Nutzenversatz.y; }

double cutDepth(const StringGrid& grid, int col, int row) { return -cellNumber(grid, col, row); }

bool isMilled(std::string_view modus) { return modus == kModusJa; }

platform::Pen outlinePen(const Palette& farben, std::string_view modus, bool gueltig) {
  platform::Pen pen;
  pen.style = platform::PenStyle::Solid;
  if (modus == kModusNein) {
    pen.colour = farben.FarbeNein;
  } else if (modus == kModusNurZeichnen) {
    pen.colour = farben.FarbeNurZeichnen;
    pen.style = platform::PenStyle::Dot;
  } else {
    pen.colour = gueltig ? farben.FarbeJa : farben.FarbeUngueltig;
  }
  return pen;
}

std::string cellText(double value) { return platform::formatFixedSignificant(platform::boundedValue(value), 6, 2); }

}  // namespace panel
