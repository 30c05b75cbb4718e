// Picking objects of a panel document with the mouse: which object lies under a point, and which
// handle of the selected objects lies under it.
//
// Thread context: GUI thread, on the main window's state and the dispatch table. Nothing blocks
// except the trace log's file I/O; parsing a row may read the files it names (fonts, plots,
// sub-drawings), which the handle search does for selected rows only.
#pragma once

#include "panel/MainFormState.h"
#include "panel/ObjectTypeTable.h"

namespace panel {

// Selects the object under the bitmap point (x, y): every object row's selection cell becomes
// "false", then each row that parses and is hit becomes "true"; the last hit in milling order
// becomes `iTrefferZeile` and `iAktZeile` (a click on nothing sets `iTrefferZeile` to -1 and keeps
// `iAktZeile`). `Griffpunkt` is cleared. Rows of types without a hit test are never hit.
void SelectiereObject(TMainFormState& form, const ObjectTypeTable& types, int x, int y);

// Sets `Griffpunkt` to the handle under (x, y) among the selected rows (a later row wins), or to
// -1 when there is none. True when `Griffpunkt` changed.
bool GriffpunktSuchen(TMainFormState& form, const ObjectTypeTable& types, int x, int y);

// The type number of an object row's keyword (trimmed, case-sensitive); -1 for a row that is no
// object of a known type.
int rowTypeNumber(const StringGrid& grid, int row);

}  // namespace panel
