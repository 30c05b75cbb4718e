// A new panel document: the defaults of the document-wide values and job options, and the
// emptied document table.
//
// Thread context: GUI thread, on the main window's state. StringGrid_Neu blocks briefly on the
// trace log's file I/O.
#pragma once

#include "panel/MainFormState.h"

namespace panel {

// Sets the document-wide values (panel size, cutter, safety height, copy spacing and counts)
// and the job options (before/after machining, simulation and its pace) to their defaults.
void DokumentDefaults(TMainFormState& form);

// New document: defaults, every cell of the document table emptied, 13 columns and the header
// row only, current row 1, path "neu.tvx". Leaves `Dokumenttyp` alone and does not redraw.
void StringGrid_Neu(TMainFormState& form);

}  // namespace panel
