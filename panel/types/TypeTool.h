// TOOL rows: the speeds of one tool of the tool table, sent to the controller from the row's
// place in the milling order on. Not drawn, not selectable, moves nothing.
//
// Thread context: Tool_Neu and the property roles on the GUI thread; Tool_Lesen on whichever
// thread parses; Tool_Fraesen on the thread that runs the job, where it blocks while the
// controller takes the settings and lets failure codes through.
#pragma once

#include <cstdint>
#include <optional>

#include "panel/MainFormState.h"
#include "panel/MillContext.h"
#include "panel/RowCells.h"
#include "panel/StringGrid.h"

namespace panel {

struct ToolRecord {
  std::int32_t Startfreq = 0;     // Hz
  std::int32_t Arbeitsfreq = 0;   // Hz
  std::int32_t Eilfreq = 0;       // Hz
  std::int32_t Rampenlaenge = 0;  // ms
  bool aktiv = false;             // cell 11
};

// Appends a TOOL row with the speeds of tool slot `slot` (0-6) and shows it in the properties
// grid; remembers the slot for the caption. Returns the new row, or -1 for a slot outside 0-6
// (nothing is appended).
int Tool_Neu(TMainFormState& form, int slot);

// The row's values when it is a TOOL row: numbers truncated toward zero, junk as 0.
std::optional<ToolRecord> Tool_Lesen(const TMainFormState& form, const StringGrid& grid, int row);

// For an active row: the four speeds of the run's parameter record are replaced by the row's,
// the controller is initialised with them, and the record's own values are put back, also when
// the initialisation throws. A simulation sends nothing unless a controller is connected.
void Tool_Fraesen(MillContext& context, const ToolRecord& tool);

void Tool_EigenschaftenAnzeigen(TMainFormState& form, int row);

// Takes property rows 1-4 into cells 1-4 as typed. A value that is not a number of at least 1
// is refused: the error signal sounds and the cell and the properties grid keep the cell's text.
void Tool_EigenschaftenUebernehmen(TMainFormState& form, int row);

}  // namespace panel
