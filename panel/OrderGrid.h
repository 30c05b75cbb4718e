// The order grid: one line per object row in milling order, its scrolling and selection, the
// enabled state of its buttons, and the commands that reorder and delete rows or select one.
//
// Thread context: GUI thread, on the main window's state. Nothing blocks.
#pragma once

#include "panel/MainFormState.h"

namespace panel {

// Rebuilds the order grid from the document table: headers "Nr.", "KonturTyp", "E F R F", then
// for each object row its number and its keyword as stored (an empty document shows the one
// line "1", "-"), every cell with a leading blank. Scrolls so that `iAktZeile` is not below the
// visible rows and selects its line (line 1 when no row is selected).
void ReihenfolgeAufbauen(TMainFormState& form);

// Up: enabled unless row 1 is selected. Down: enabled when a row is selected and it is not the
// last. Delete, and with it the properties grid: enabled when there are object rows.
void ReihenfolgeKnoepfe(TMainFormState& form);

// Line k of the order grid chosen: every selection cell "false", then row k becomes `iAktZeile`
// with "true". Line 0 (the header) does nothing and gives false. The only way to select TOOL and
// note rows; the caller refreshes the properties and then makes k the hit row.
bool ReihenfolgeWaehlen(TMainFormState& form, int k);

// Exchange the selected row with the one above (below); the selection moves with it. False when
// there is no row to exchange with.
bool KonturNachOben(TMainFormState& form);
bool KonturNachUnten(TMainFormState& form);
// Removes the selected row; the selection goes to the row above (row 1 stays row 1). False when
// no object row is selected.
bool KonturLoeschen(TMainFormState& form);

}  // namespace panel
