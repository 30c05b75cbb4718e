// New object rows and the properties grid: the parts of `_Neu`, `_EigenschaftenAnzeigen` and
// `_EigenschaftenUebernehmen` that every object type shares.
//
// Thread context: GUI thread, on the main window's state. Nothing blocks.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "panel/Keywords.h"
#include "panel/MainFormState.h"

namespace panel {

// Appends one object row: the keyword in cell 0, the given parameter cells, "ja" in cell 11 and
// "true" in cell 12. Other rows keep their selection. Returns the new row's number.
int appendObjectRow(TMainFormState& form, const std::string& keyword,
                    const std::vector<std::pair<int, std::string>>& cells);

// The default depth of new objects as a cell text.
std::string defaultDepthCell(const TMainFormState& form);

// How a type shows its row in the properties grid: the caption above the grid, the type number
// for `esgTyp`, and the label of each parameter row 1-10 (empty: the row is not shown).
struct PropertyLayout {
  std::string caption;
  int esgTyp = -1;
  std::array<std::string, 11> labels{};  // index 1-10
  std::string modeLabel = "Fräsen:";     // row 11 ("aktiv:" for a tool row)
};

// The layout of a row that places a file at an origin (plots and sub-drawings): "X-Ursprung:",
// "Y-Ursprung:", "Tiefe:" and "Datei-Name:" in rows 1-4.
PropertyLayout fileAtOriginLayout(std::string caption, KonturTyp typ);

// Shows row `row` in the properties grid by the layout: the caption row "Eigenschaften:" /
// "Werte:", label and cell value of each labelled row, row 11 with the mode; marks the object
// row selected and sets `esgTyp`. Rows the layout does not use are left as they were.
void showPropertyRows(TMainFormState& form, int row, const PropertyLayout& layout);

// Takes the edited values of the properties grid back into object row `row`: a depth typed
// greater than 0 becomes "0.00", a radius below 0 becomes "0.00" (radiusRow -1: none), and every
// numeric row from 1 to lastNumericRow is re-formatted as a cell number and written into both
// the properties grid and the object row. The option rows 8-11 are not touched.
void takeNumericPropertyRows(TMainFormState& form, int row, int depthRow, int radiusRow, int lastNumericRow);

// Re-formats numeric row i of the properties grid as a cell number and writes it into both the
// properties grid and cell i of object row `row`.
void takeNumericPropertyRow(TMainFormState& form, int row, int i);

}  // namespace panel
