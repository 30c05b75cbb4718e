// The milling walk over the object rows of a panel document, once per copy of the layout.
//
// Thread context: the run worker thread (or the GUI thread while a job is recorded into the
// controller's program memory), with the main window's editing controls disabled. Blocks for as
// long as the milling roles move the machine. Catches nothing: failure codes thrown by a role,
// such as the stop request 2000, leave the walk unchanged.
#pragma once

#include "panel/MillContext.h"

namespace panel {

// Mills every row of context.form.DatenStringGrid through context.objectTypes, for every copy of
// the multi-up grid when MenuNutzenfertigung is checked, else once (then both copy counts of the
// document are set to 1). Leaves `Nutzenversatz` at the last copy's shift.
void KonturenFraesen(MillContext& context);

}  // namespace panel
